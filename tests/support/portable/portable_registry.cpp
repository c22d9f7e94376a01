#include "tests/support/portable/portable_registry.h"

namespace tw::test {

void PortableRegistry::BetweenCalls() {
  if (!betweenCalls_ || inBetweenCalls_) return;
  inBetweenCalls_ = true;
  betweenCalls_();
  inBetweenCalls_ = false;
}

Status PortableRegistry::OpenKey(RegKey parent, const char* subKey, AccessMask access, RegKey* result) {
  BetweenCalls();
  return MemoryRegistry::OpenKey(parent, subKey, access, result);
}

Status PortableRegistry::CreateKey(RegKey parent, const char* subKey, RegKey* result) {
  BetweenCalls();
  return MemoryRegistry::CreateKey(parent, subKey, result);
}

Status PortableRegistry::QueryValue(RegKey key, const char* valueName, ValueType* type, std::uint8_t* data,
                                    std::uint32_t* dataSize) {
  BetweenCalls();
  return MemoryRegistry::QueryValue(key, valueName, type, data, dataSize);
}

Status PortableRegistry::SetValue(RegKey key, const char* valueName, ValueType type, const std::uint8_t* data,
                                  std::uint32_t dataSize) {
  BetweenCalls();
  return MemoryRegistry::SetValue(key, valueName, type, data, dataSize);
}

Status PortableRegistry::EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameChars) {
  BetweenCalls();
  return MemoryRegistry::EnumKey(key, index, name, nameChars);
}

Status PortableRegistry::EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameChars,
                                   ValueType* type, std::uint8_t* data, std::uint32_t* dataSize) {
  BetweenCalls();
  return MemoryRegistry::EnumValue(key, index, name, nameChars, type, data, dataSize);
}

Status PortableRegistry::DeleteValue(RegKey key, const char* valueName) {
  BetweenCalls();
  return MemoryRegistry::DeleteValue(key, valueName);
}

Status PortableRegistry::DeleteKey(RegKey key, const char* subKey) {
  BetweenCalls();
  return MemoryRegistry::DeleteKey(key, subKey);
}

Status PortableRegistry::CloseKey(RegKey key) {
  BetweenCalls();
  return MemoryRegistry::CloseKey(key);
}

Status PortableRegistry::LoadHive(const char* name, const char* filePath) {
  BetweenCalls();
  return MemoryRegistry::LoadHive(name, filePath);
}

Status PortableRegistry::UnloadHive(const char* name) {
  BetweenCalls();
  return MemoryRegistry::UnloadHive(name);
}

}  // namespace tw::test
