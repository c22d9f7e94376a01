// The registry with every change written to the journal: the values a deleted
// key held, a value's old data before it is changed or deleted. Keys are named
// by the paths they were opened with. The program's own bookkeeping (the key
// tree the composition names) is no change of the machine's: its writes are
// made unread and unlisted, and only their failures are written.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/journal/journal.h"
#include "platform/registry.h"

namespace tw {

class JournalRegistry : public Registry {
 public:
  // bookkeeping: the full path of that key ("HKEY_LOCAL_MACHINE\\..."), or
  // empty for none.
  JournalRegistry(Registry& inner, Journal& journal, std::string bookkeeping = "");

  Status OpenKey(RegKey parent, const char* subKey, AccessMask access, RegKey* result) override;
  Status CreateKey(RegKey parent, const char* subKey, RegKey* result) override;
  Status QueryValue(RegKey key, const char* valueName, ValueType* type, std::uint8_t* data,
                    std::uint32_t* dataSize) override;
  Status SetValue(RegKey key, const char* valueName, ValueType type, const std::uint8_t* data,
                  std::uint32_t dataSize) override;
  Status EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameChars) override;
  Status EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameChars, ValueType* type,
                   std::uint8_t* data, std::uint32_t* dataSize) override;
  Status DeleteValue(RegKey key, const char* valueName) override;
  Status DeleteKey(RegKey key, const char* subKey) override;
  Status CloseKey(RegKey key) override;
  // A hive loaded for the run changes no data; its loader notes it.
  Status LoadHive(const char* name, const char* filePath) override { return inner_.LoadHive(name, filePath); }
  Status UnloadHive(const char* name) override { return inner_.UnloadHive(name); }

 private:
  struct Stored {
    ValueType type;
    std::vector<std::uint8_t> data;
  };

  std::string PathOf(RegKey key, const char* subKey) const;
  // Whether the path names the bookkeeping key or a key below it.
  bool IsBookkeeping(const std::string& path) const;
  // The value as stored, when it can be read.
  std::optional<Stored> DataOf(RegKey key, const char* valueName);
  std::optional<Stored> DataThrough(RegKey key, const char* valueName);
  // The .reg lines of every value of the key.
  std::vector<std::string> ValueLines(RegKey key);
  std::vector<std::string> ValueLines(RegKey key, const char* subKey);
  bool HasSubkeys(RegKey key);

  Registry& inner_;
  Journal& journal_;
  const std::string bookkeeping_;  // ASCII folded
  std::map<RegKey, std::string> paths_;
  // Values read before a delete that the key's subkeys stopped, kept for the
  // retry once they are gone.
  std::map<RegKey, std::vector<std::string>> valuesBeforeRefusedDelete_;
};

}  // namespace tw
