// The registry of a preview: the key trees the uninstaller can reach, an
// in-memory registry with the Windows behaviour whose keys the machine's
// registry fills in, each when the removal first reaches it (open, create,
// delete, listing, through any path, link or handle), so a removal that reads
// a handful of keys reads only those; what the removal changed stays in the
// overlay and hides the machine's.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/memory/memory_registry.h"
#include "platform/overlay/machine_keys.h"

namespace tw {

struct KeyTree {
  RegKey root;
  std::string path;
};

class OverlayRegistry : public Registry {
 public:
  OverlayRegistry(Registry& machine, const CodePage& codePage, const std::vector<KeyTree>& trees);

  Status OpenKey(RegKey parent, const char* subKey, AccessMask access, RegKey* result) override {
    return store_.OpenKey(parent, subKey, access, result);
  }
  Status CreateKey(RegKey parent, const char* subKey, RegKey* result) override {
    return store_.CreateKey(parent, subKey, result);
  }
  Status QueryValue(RegKey key, const char* valueName, ValueType* type, std::uint8_t* data,
                    std::uint32_t* dataSize) override {
    return store_.QueryValue(key, valueName, type, data, dataSize);
  }
  Status SetValue(RegKey key, const char* valueName, ValueType type, const std::uint8_t* data,
                  std::uint32_t dataSize) override {
    return store_.SetValue(key, valueName, type, data, dataSize);
  }
  Status EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameChars) override {
    return store_.EnumKey(key, index, name, nameChars);
  }
  Status EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameChars, ValueType* type,
                   std::uint8_t* data, std::uint32_t* dataSize) override {
    return store_.EnumValue(key, index, name, nameChars, type, data, dataSize);
  }
  Status DeleteValue(RegKey key, const char* valueName) override { return store_.DeleteValue(key, valueName); }
  Status DeleteKey(RegKey key, const char* subKey) override { return store_.DeleteKey(key, subKey); }
  Status CloseKey(RegKey key) override { return store_.CloseKey(key); }
  Status LoadHive(const char* name, const char* filePath) override { return store_.LoadHive(name, filePath); }
  Status UnloadHive(const char* name) override { return store_.UnloadHive(name); }

  // The first key reached so far that could not be read whole; none while
  // the overlay is exact.
  const std::optional<std::string>& Unreadable() const { return machineKeys_.Unreadable(); }
  // The keys as the removal leaves them, read and changed.
  MemoryRegistry& Store() { return store_; }

 private:
  MachineKeys machineKeys_;  // made before the store that reads from it, gone after it
  MemoryRegistry store_;
};

}  // namespace tw
