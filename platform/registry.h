// The registry as the advapi32 8-bit calls present it. Buffer sizes are in
// and out parameters with the exact meaning of the Win32 calls: capacities in
// characters (names, terminator included) or bytes (data); on success they
// return what was written (names without the terminator).
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace tw {

class Registry {
 public:
  virtual ~Registry() = default;

  // RegOpenKeyExA; kKeyOpenLink in access opens a registry link itself
  // rather than the key it points to.
  virtual Status OpenKey(RegKey parent, const char* subKey, AccessMask access, RegKey* result) = 0;
  // RegCreateKeyExA with KEY_ALL_ACCESS; the program never creates keys, the
  // tests and the sample installation do.
  virtual Status CreateKey(RegKey parent, const char* subKey, RegKey* result) = 0;
  // RegQueryValueExA: data may be null to ask for the size only.
  virtual Status QueryValue(RegKey key, const char* valueName, ValueType* type, std::uint8_t* data,
                            std::uint32_t* dataSize) = 0;
  // RegSetValueExA
  virtual Status SetValue(RegKey key, const char* valueName, ValueType type, const std::uint8_t* data,
                          std::uint32_t dataSize) = 0;
  // RegEnumKeyExA without class and last-write time.
  virtual Status EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameChars) = 0;
  // RegEnumValueA; type, data and dataSize may be null.
  virtual Status EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameChars,
                           ValueType* type, std::uint8_t* data, std::uint32_t* dataSize) = 0;
  // RegDeleteValueA
  virtual Status DeleteValue(RegKey key, const char* valueName) = 0;
  // RegDeleteKeyA; "" deletes the key that the handle names. Unlike
  // RegDeleteKeyA, a registry link named by the last part of the path is
  // deleted itself, never the key it points to.
  virtual Status DeleteKey(RegKey key, const char* subKey) = 0;
  // RegCloseKey
  virtual Status CloseKey(RegKey key) = 0;
  // RegLoadKey below HKEY_USERS: the hive file at filePath (a profile's
  // NTUSER.DAT) as the key `name`, with the privileges the load needs. A file
  // in use (its user logged on, or loaded elsewhere) fails.
  virtual Status LoadHive(const char* name, const char* filePath) = 0;
  // RegUnLoadKey of a hive LoadHive made; fails while a handle into it is open.
  virtual Status UnloadHive(const char* name) = 0;
};

// The first enumeration of an open key's subkeys (values): kErrorNoMoreItems
// when it has none, kErrorSuccess or kErrorMoreData when it has one; any
// other status tells neither.
inline Status FirstSubkeyStatus(Registry& registry, RegKey key) {
  char name[kRegKeyNameCapacity];
  std::uint32_t nameChars = sizeof name;
  return registry.EnumKey(key, 0, name, &nameChars);
}
inline Status FirstValueStatus(Registry& registry, RegKey key) {
  char name[kRegKeyNameCapacity];
  std::uint32_t nameChars = sizeof name;
  return registry.EnumValue(key, 0, name, &nameChars, nullptr, nullptr, nullptr);
}

}  // namespace tw
