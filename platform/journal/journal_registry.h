// The registry with every change written to the journal: the values a deleted
// key held, a value's old data before it is changed or deleted. Keys are named
// by the paths they were opened with.
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
  JournalRegistry(Registry& inner, Journal& journal);

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

 private:
  std::string PathOf(RegKey key, const char* subKey) const;
  // The value as a .reg line's data, when it can be read.
  std::optional<std::string> DataOf(RegKey key, const char* valueName);
  std::optional<std::string> DataThrough(RegKey key, const char* valueName);
  // The .reg lines of every value of the key.
  std::vector<std::string> ValueLines(RegKey key);
  std::vector<std::string> ValueLines(RegKey key, const char* subKey);
  bool HasSubkeys(RegKey key);
  // What this run last wrote to the value, when nothing may have changed it
  // since: a value written again and again (the uninstall ledger's entry)
  // then costs no read to say what it was.
  std::optional<std::string> Written(RegKey key, const char* valueName) const;
  // Forgets what was written below path, or only to the value valueName
  // there when it is not null.
  void Forget(const std::string& path, const char* valueName);

  Registry& inner_;
  Journal& journal_;
  std::map<RegKey, std::string> paths_;
  // Values read before a delete that the key's subkeys stopped, kept for the
  // retry once they are gone.
  std::map<RegKey, std::vector<std::string>> valuesBeforeRefusedDelete_;
  // Keyed by "<key path>\n<value name>", as the key was opened.
  std::map<std::string, std::string> written_;
};

}  // namespace tw
