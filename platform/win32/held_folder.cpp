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
  if (created != nullptr) *created = false;
  HANDLE file = OpenByName(name, length, access, share, FILE_OPEN);
  // Made only where nothing at all has the name: a link there, even one that
  // leads nowhere, is never made into a file elsewhere.
  const bool make = file == INVALID_HANDLE_VALUE && create && GetLastError() == ERROR_FILE_NOT_FOUND;
  if (make) file = OpenByName(name, length, access | DELETE, share, FILE_CREATE);
  if (file == INVALID_HANDLE_VALUE) return file;
  // Where a system follows a link at the name all the same, the file it
  // reached lies elsewhere than in the held folder: refused.
  const WideText expected = FinalPathOf(handle_) + L"\\" + name;
  const WideText final = FinalPathOf(file);
  if (final.empty() || CompareStringOrdinal(final.c_str(), static_cast<int>(final.size()), expected.c_str(),
                                            static_cast<int>(expected.size()), TRUE) != CSTR_EQUAL) {
    // A file this call made stays: a system that cannot tell where it lies
    // might delete another by its name (Wine keeps a held folder's old name
    // after its parent is renamed).
    CloseHandle(file);
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  if (created != nullptr) *created = make;
  return file;
}

HANDLE HeldFolder::OpenByName(const wchar_t* name, DWORD length, DWORD access, DWORD share, DWORD disposition) const {
  UNICODE_STRING objectName;
  objectName.Buffer = const_cast<wchar_t*>(name);
  objectName.Length = objectName.MaximumLength = static_cast<USHORT>(length * sizeof(wchar_t));
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &objectName, OBJ_CASE_INSENSITIVE, handle_, nullptr);
  IO_STATUS_BLOCK status{};
  HANDLE file = INVALID_HANDLE_VALUE;
  const NTSTATUS result =
      NtCreateFile(&file, access | SYNCHRONIZE, &attributes, &status, nullptr, FILE_ATTRIBUTE_NORMAL, share,
                   disposition, FILE_NON_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_REPARSE_POINT,
                   nullptr, 0);
  if (result < 0) {
    SetLastError(RtlNtStatusToDosError(result));
    return INVALID_HANDLE_VALUE;
  }
  return file;
}

}  // namespace tw
