// A registry decorator that records the full path of every key a run opens,
// creates or deletes through it, whatever handle it goes through.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace tw::test {

struct ReachedKey {
  RegKey root;
  std::string path;  // below root, as the run spelled it
  bool opened;       // only opened: not created or deleted
};

class ReachRecordingRegistry : public Registry {
 public:
  explicit ReachRecordingRegistry(Registry& inner) : inner_(inner) {}

  Status OpenKey(RegKey parent, const char* subKey, AccessMask access, RegKey* result) override;
  Status CreateKey(RegKey parent, const char* subKey, RegKey* result) override;
  Status QueryValue(RegKey key, const char* valueName, ValueType* type, std::uint8_t* data,
                    std::uint32_t* dataSize) override {
    return inner_.QueryValue(key, valueName, type, data, dataSize);
  }
  Status SetValue(RegKey key, const char* valueName, ValueType type, const std::uint8_t* data,
                  std::uint32_t dataSize) override {
    return inner_.SetValue(key, valueName, type, data, dataSize);
  }
  Status EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameChars) override {
    return inner_.EnumKey(key, index, name, nameChars);
  }
  Status EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameChars, ValueType* type,
                   std::uint8_t* data, std::uint32_t* dataSize) override {
    return inner_.EnumValue(key, index, name, nameChars, type, data, dataSize);
  }
  Status DeleteValue(RegKey key, const char* valueName) override { return inner_.DeleteValue(key, valueName); }
  Status DeleteKey(RegKey key, const char* subKey) override;
  Status CloseKey(RegKey key) override;
  Status LoadHive(const char* name, const char* filePath) override { return inner_.LoadHive(name, filePath); }
  Status UnloadHive(const char* name) override { return inner_.UnloadHive(name); }

  // Every key reached, in the order reached, whether or not it was there.
  const std::vector<ReachedKey>& Reached() const { return reached_; }

 private:
  // Records parent's subKey and returns it.
  ReachedKey Reach(RegKey parent, const char* subKey, bool opened);

  Registry& inner_;
  std::map<RegKey, ReachedKey> open_;
  std::vector<ReachedKey> reached_;
};

}  // namespace tw::test
