#include "platform/win32/held_folder.h"

#include <winternl.h>

#include "platform/win32/exact_path.h"

namespace tw {
namespace {

constexpr DWORD kNameLimit = 255;  // characters of one name on NTFS

bool IsOneName(const wchar_t* name, DWORD length) {
  if (length == 0 || length > kNameLimit) return false;
  bool dotsOnly = true;
  for (DWORD i = 0; i < length; ++i) {
    if (name[i] == L'\\' || name[i] == L'/' || name[i] == L':') return false;
    dotsOnly = dotsOnly && name[i] == L'.';
  }
  return !dotsOnly;
}

}  // namespace

HeldFolder::HeldFolder(const wchar_t* path) {
  const HANDLE folder = OpenAtExactPath(path, FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE);
  if (folder == INVALID_HANDLE_VALUE) return;
  BY_HANDLE_FILE_INFORMATION info;
  // A junction at the folder's place opens as itself and lies where it says:
  // it is told by its attributes.
  if (GetFileInformationByHandle(folder, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
      (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    handle_ = folder;
    return;
  }
  CloseHandle(folder);
  SetLastError(ERROR_ACCESS_DENIED);
}

HeldFolder::~HeldFolder() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

HANDLE HeldFolder::Open(const wchar_t* name, DWORD access, DWORD share, bool create, bool* created) const {
  const DWORD length = static_cast<DWORD>(lstrlenW(name));
  if (!Held() || !IsOneName(name, length)) {
    SetLastError(Held() ? ERROR_INVALID_NAME : ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  UNICODE_STRING objectName;
  objectName.Buffer = const_cast<wchar_t*>(name);
  objectName.Length = objectName.MaximumLength = static_cast<USHORT>(length * sizeof(wchar_t));
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &objectName, OBJ_CASE_INSENSITIVE, handle_, nullptr);
  IO_STATUS_BLOCK status{};
  HANDLE file = INVALID_HANDLE_VALUE;
  const NTSTATUS result =
      NtCreateFile(&file, access | SYNCHRONIZE, &attributes, &status, nullptr, FILE_ATTRIBUTE_NORMAL, share,
                   create ? FILE_OPEN_IF : FILE_OPEN,
                   FILE_NON_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_REPARSE_POINT, nullptr, 0);
  if (result < 0) {
    SetLastError(RtlNtStatusToDosError(result));
    return INVALID_HANDLE_VALUE;
  }
  if (created != nullptr) *created = status.Information == FILE_CREATED;
  return file;
}

}  // namespace tw
