#include "tests/support/win32/native_registry.h"

#include <windows.h>
#include <winternl.h>

extern "C" {
NTSTATUS NTAPI NtCreateKey(PHANDLE key, ACCESS_MASK access, POBJECT_ATTRIBUTES attributes, ULONG index,
                           PUNICODE_STRING keyClass, ULONG options, PULONG disposition);
NTSTATUS NTAPI NtOpenKey(PHANDLE key, ACCESS_MASK access, POBJECT_ATTRIBUTES attributes);
NTSTATUS NTAPI NtSetValueKey(HANDLE key, PUNICODE_STRING name, ULONG index, ULONG type, PVOID data, ULONG size);
NTSTATUS NTAPI NtDeleteKey(HANDLE key);
NTSTATUS NTAPI NtRenameKey(HANDLE key, PUNICODE_STRING newName);
NTSTATUS NTAPI RtlFormatCurrentUserKeyPath(PUNICODE_STRING path);
}

namespace tw::test {
namespace {

// In the active code page, as the program's 8-bit calls read the names; the
// length is given, so a NUL byte is a character of the name like any other.
std::wstring Widen(const std::string& text) {
  const int length = static_cast<int>(text.size());
  const int wideChars = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wideChars > 0 ? wideChars : 0), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), wideChars);
  return wide;
}

UNICODE_STRING Counted(std::wstring& text) {
  UNICODE_STRING counted;
  counted.Length = static_cast<USHORT>(text.size() * sizeof(wchar_t));
  counted.MaximumLength = counted.Length;
  counted.Buffer = text.data();
  return counted;
}

Status ToError(NTSTATUS status) { return static_cast<Status>(RtlNtStatusToDosError(status)); }

Status Create(RegKey parent, const std::string& name, ULONG options, HANDLE* key) {
  std::wstring wide = Widen(name);
  UNICODE_STRING counted = Counted(wide);
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &counted, OBJ_CASE_INSENSITIVE, reinterpret_cast<HANDLE>(parent), nullptr);
  return ToError(NtCreateKey(key, KEY_ALL_ACCESS | KEY_CREATE_LINK, &attributes, 0, nullptr, options, nullptr));
}

Status SetValue(HANDLE key, const std::string& name, ValueType type, const void* data, std::size_t size) {
  std::wstring wide = Widen(name);
  UNICODE_STRING counted = Counted(wide);
  return ToError(NtSetValueKey(key, &counted, 0, type, const_cast<void*>(data), static_cast<ULONG>(size)));
}

}  // namespace

Status NativeCreateLink(RegKey parent, const std::string& name, RegKey targetRoot, const std::string& targetPath) {
  std::wstring target = L"\\Registry\\Machine";
  if (targetRoot == kHkeyCurrentUser) {
    UNICODE_STRING user;
    if (Status status = ToError(RtlFormatCurrentUserKeyPath(&user)); status != ERROR_SUCCESS) return status;
    target.assign(user.Buffer, user.Length / sizeof(wchar_t));
    RtlFreeUnicodeString(&user);
  }
  target += L"\\" + Widen(targetPath);
  HANDLE link = nullptr;
  if (Status status = Create(parent, name, REG_OPTION_CREATE_LINK, &link); status != ERROR_SUCCESS) return status;
  // The target's path without a terminator, as Windows keeps it.
  const Status status = SetValue(link, "SymbolicLinkValue", REG_LINK, target.data(), target.size() * sizeof(wchar_t));
  CloseHandle(link);
  return status;
}

Status NativeCreateKey(RegKey parent, const std::string& name) {
  HANDLE key = nullptr;
  const Status status = Create(parent, name, 0, &key);
  if (status == ERROR_SUCCESS) CloseHandle(key);
  return status;
}

Status NativeSetValue(RegKey key, const std::string& name, ValueType type, const std::vector<std::uint8_t>& data) {
  // Text is stored in UTF-16, as RegSetValueExA stores the 8-bit text it is given.
  if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
    const std::wstring text(data.begin(), data.end());
    return SetValue(reinterpret_cast<HANDLE>(key), name, type, text.data(), text.size() * sizeof(wchar_t));
  }
  return SetValue(reinterpret_cast<HANDLE>(key), name, type, data.data(), data.size());
}

namespace {

// parent\name itself, a link included.
Status OpenItself(RegKey parent, const std::string& name, ACCESS_MASK access, HANDLE* key) {
  std::wstring wide = Widen(name);
  UNICODE_STRING counted = Counted(wide);
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &counted, OBJ_CASE_INSENSITIVE | OBJ_OPENLINK,
                             reinterpret_cast<HANDLE>(parent), nullptr);
  return ToError(NtOpenKey(key, access, &attributes));
}

}  // namespace

Status NativeDeleteKey(RegKey parent, const std::string& name) {
  HANDLE key = nullptr;
  if (Status status = OpenItself(parent, name, DELETE, &key); status != ERROR_SUCCESS) return status;
  const Status status = ToError(NtDeleteKey(key));
  CloseHandle(key);
  return status;
}

Status NativeRenameKey(RegKey parent, const std::string& name, const std::string& newName) {
  HANDLE key = nullptr;
  if (Status status = OpenItself(parent, name, KEY_WRITE, &key); status != ERROR_SUCCESS) return status;
  std::wstring wide = Widen(newName);
  UNICODE_STRING counted = Counted(wide);
  const Status status = ToError(NtRenameKey(key, &counted));
  CloseHandle(key);
  return status;
}

}  // namespace tw::test
