#include "platform/win32/win32_registry.h"

#include <windows.h>
#include <winternl.h>

#include "platform/win32/dword_parameter.h"
#include "platform/win32/wide_text.h"

namespace tw {
namespace {

// The predefined roots are sign-extended pointer constants on 64-bit Windows,
// so they are mapped by name rather than by value.
HKEY ToHkey(RegKey key) {
  if (key == kHkeyLocalMachine) return HKEY_LOCAL_MACHINE;
  if (key == kHkeyCurrentUser) return HKEY_CURRENT_USER;
  if (key == kHkeyUsers) return HKEY_USERS;
  return reinterpret_cast<HKEY>(key);
}

RegKey FromHkey(HKEY key) { return reinterpret_cast<RegKey>(key); }

// Loading and unloading a hive need the backup and restore privileges,
// which an administrator's and SYSTEM's tokens hold but do not enable.
bool EnablePrivilege(HANDLE token, const wchar_t* name) {
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  return LookupPrivilegeValueW(nullptr, name, &privileges.Privileges[0].Luid) &&
         AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) && GetLastError() == ERROR_SUCCESS;
}

bool EnableHivePrivileges() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
  const bool enabled = EnablePrivilege(token, L"SeRestorePrivilege") && EnablePrivilege(token, L"SeBackupPrivilege");
  CloseHandle(token);
  return enabled;
}

}  // namespace

extern "C" NTSTATUS NTAPI NtDeleteKey(HANDLE key);

Status Win32Registry::OpenKey(RegKey parent, const char* subKey, AccessMask access, RegKey* result) {
  HKEY opened = nullptr;
  const DWORD options = (access & kKeyOpenLink) != 0 ? REG_OPTION_OPEN_LINK : 0;
  const LONG status = RegOpenKeyExA(ToHkey(parent), subKey, options, access & ~kKeyOpenLink, &opened);
  *result = status == ERROR_SUCCESS ? FromHkey(opened) : 0;
  return status;
}

Status Win32Registry::CreateKey(RegKey parent, const char* subKey, RegKey* result) {
  HKEY created = nullptr;
  const LONG status = RegCreateKeyExA(ToHkey(parent), subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                      nullptr, &created, nullptr);
  *result = status == ERROR_SUCCESS ? FromHkey(created) : 0;
  return status;
}

Status Win32Registry::QueryValue(RegKey key, const char* valueName, ValueType* type, std::uint8_t* data,
                                 std::uint32_t* dataSize) {
  auto typeOut = DwordParameter::Out(type);
  auto size = DwordParameter::InOut(dataSize);
  return RegQueryValueExA(ToHkey(key), valueName, nullptr, typeOut.Get(), data, size.Get());
}

Status Win32Registry::SetValue(RegKey key, const char* valueName, ValueType type, const std::uint8_t* data,
                               std::uint32_t dataSize) {
  return RegSetValueExA(ToHkey(key), valueName, 0, type, data, dataSize);
}

Status Win32Registry::EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameChars) {
  auto chars = DwordParameter::InOut(nameChars);
  return RegEnumKeyExA(ToHkey(key), index, name, chars.Get(), nullptr, nullptr, nullptr, nullptr);
}

Status Win32Registry::EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameChars,
                                ValueType* type, std::uint8_t* data, std::uint32_t* dataSize) {
  auto chars = DwordParameter::InOut(nameChars);
  auto typeOut = DwordParameter::Out(type);
  auto size = DwordParameter::InOut(dataSize);
  return RegEnumValueA(ToHkey(key), index, name, chars.Get(), nullptr, typeOut.Get(), data, size.Get());
}

Status Win32Registry::DeleteValue(RegKey key, const char* valueName) {
  return RegDeleteValueA(ToHkey(key), valueName);
}

// RegDeleteKeyA opens the key again following a registry link, even for the
// empty name on a handle to the link itself, and so deletes the key the link
// points to. The key is opened without following and deleted by the native
// call instead.
Status Win32Registry::DeleteKey(RegKey key, const char* subKey) {
  if (!subKey) return ERROR_INVALID_PARAMETER;
  HKEY self = nullptr;
  const LONG opened = RegOpenKeyExA(ToHkey(key), subKey, REG_OPTION_OPEN_LINK, DELETE, &self);
  if (opened != ERROR_SUCCESS) return opened;
  const LONG status = static_cast<LONG>(RtlNtStatusToDosError(NtDeleteKey(self)));
  RegCloseKey(self);
  return status;
}

Status Win32Registry::CloseKey(RegKey key) { return RegCloseKey(ToHkey(key)); }

Status Win32Registry::LoadHive(const char* name, const char* filePath) {
  if (!name || !filePath) return ERROR_INVALID_PARAMETER;
  if (!EnableHivePrivileges()) return ERROR_PRIVILEGE_NOT_HELD;
  const WideText file = WidenFromActiveCodePage(filePath);
  if (file.empty()) return ERROR_INVALID_PARAMETER;
  return RegLoadKeyW(HKEY_USERS, WidenFromActiveCodePage(name).c_str(), file.c_str());
}

Status Win32Registry::UnloadHive(const char* name) {
  if (!name) return ERROR_INVALID_PARAMETER;
  if (!EnableHivePrivileges()) return ERROR_PRIVILEGE_NOT_HELD;
  return RegUnLoadKeyW(HKEY_USERS, WidenFromActiveCodePage(name).c_str());
}

}  // namespace tw
