#include "tests/support/fault_injection.h"

namespace tw::test {

Status FaultyRegistry::OpenKey(RegKey parent, const char* subKey, AccessMask access, RegKey* result) {
  return schedule_.NextCallFails() ? schedule_.Error() : inner_.OpenKey(parent, subKey, access, result);
}

Status FaultyRegistry::CreateKey(RegKey parent, const char* subKey, RegKey* result) {
  return schedule_.NextCallFails() ? schedule_.Error() : inner_.CreateKey(parent, subKey, result);
}

Status FaultyRegistry::QueryValue(RegKey key, const char* valueName, ValueType* type, std::uint8_t* data,
                                  std::uint32_t* dataSize) {
  return schedule_.NextCallFails() ? schedule_.Error() : inner_.QueryValue(key, valueName, type, data, dataSize);
}

Status FaultyRegistry::SetValue(RegKey key, const char* valueName, ValueType type, const std::uint8_t* data,
                                std::uint32_t dataSize) {
  return schedule_.NextCallFails() ? schedule_.Error() : inner_.SetValue(key, valueName, type, data, dataSize);
}

Status FaultyRegistry::EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameChars) {
  return schedule_.NextCallFails() ? schedule_.Error() : inner_.EnumKey(key, index, name, nameChars);
}

Status FaultyRegistry::EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameChars,
                                 ValueType* type, std::uint8_t* data, std::uint32_t* dataSize) {
  return schedule_.NextCallFails() ? schedule_.Error()
                                   : inner_.EnumValue(key, index, name, nameChars, type, data, dataSize);
}

Status FaultyRegistry::DeleteValue(RegKey key, const char* valueName) {
  return schedule_.NextCallFails() ? schedule_.Error() : inner_.DeleteValue(key, valueName);
}

Status FaultyRegistry::DeleteKey(RegKey key, const char* subKey) {
  return schedule_.NextCallFails() ? schedule_.Error() : inner_.DeleteKey(key, subKey);
}

Status FaultyRegistry::CloseKey(RegKey key) {
  const bool fails = schedule_.NextCallFails();
  const Status status = inner_.CloseKey(key);
  return fails ? schedule_.Error() : status;
}

Status FaultyRegistry::LoadHive(const char* name, const char* filePath) {
  return schedule_.NextCallFails() ? schedule_.Error() : inner_.LoadHive(name, filePath);
}

Status FaultyRegistry::UnloadHive(const char* name) {
  return schedule_.NextCallFails() ? schedule_.Error() : inner_.UnloadHive(name);
}

bool FaultyFileSystem::Inject() {
  injected_ = schedule_.NextCallFails();
  return injected_;
}

FindHandle FaultyFileSystem::FindFirst(const char* pattern, FindData* data) {
  return Inject() ? kInvalidFindHandle : inner_.FindFirst(pattern, data);
}

bool FaultyFileSystem::FindNext(FindHandle search, FindData* data) {
  return Inject() ? false : inner_.FindNext(search, data);
}

bool FaultyFileSystem::FindClose(FindHandle search) {
  const bool fails = Inject();
  const bool closed = inner_.FindClose(search);
  return fails ? false : closed;
}

std::uint32_t FaultyFileSystem::GetAttributes(const char* path) {
  return Inject() ? kInvalidFileAttributes : inner_.GetAttributes(path);
}

bool FaultyFileSystem::SetAttributes(const char* path, std::uint32_t attributes) {
  return Inject() ? false : inner_.SetAttributes(path, attributes);
}

bool FaultyFileSystem::MaySetAttributes(const char* path) { return Inject() ? false : inner_.MaySetAttributes(path); }

bool FaultyFileSystem::RemoveFile(const char* path) { return Inject() ? false : inner_.RemoveFile(path); }

bool FaultyFileSystem::RemoveFolder(const char* path) { return Inject() ? false : inner_.RemoveFolder(path); }

bool FaultyFileSystem::MayRemove(const char* path, bool folder) {
  return Inject() ? false : inner_.MayRemove(path, folder);
}

bool FaultyFileSystem::IsPlainFile(const char* path) { return Inject() ? false : inner_.IsPlainFile(path); }

}  // namespace tw::test
