#include "platform/win32/library_copy.h"

#include <sddl.h>

#include "platform/win32/administrators_only.h"
#include "platform/win32/exact_path.h"

namespace tw {
namespace {

// Owned by Administrators; Administrators and SYSTEM alone, nothing inherited.
constexpr wchar_t kPrivateRights[] = L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";
constexpr int kNameAttempts = 16;
constexpr DWORD kCopyChunk = 16 * 1024;

WideText Hex(DWORD value) {
  wchar_t text[9];
  wsprintfW(text, L"%08lx", value);
  return text;
}

bool Dispose(HANDLE handle) {
  FILE_DISPOSITION_INFO disposition{TRUE};
  return SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}

}  // namespace

LibraryCopy::~LibraryCopy() {
  if (library_ != nullptr) FreeLibrary(library_);
  Remove();
}

// A name of this run's own: a folder of that name made by anyone else, or
// left by another run, is never taken over.
bool LibraryCopy::MakeFolder(PSECURITY_DESCRIPTOR descriptor) {
  wchar_t windows[MAX_PATH];
  const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
  const WideText base = WideText(windows, length) + L"\\Temp\\twuninst-" + Hex(GetCurrentProcessId()) + L"-";
  for (int attempt = 0; attempt < kNameAttempts && folder_ == INVALID_HANDLE_VALUE; ++attempt) {
    const WideText path = base + Hex(GetTickCount() + static_cast<DWORD>(attempt));
    if (!CreateDirectoryW(path.c_str(), &attributes)) {
      if (GetLastError() == ERROR_ALREADY_EXISTS) continue;
      return false;
    }
    folderPath_ = path;
    // Held without delete sharing: nobody renames it while the copy is in use.
    folder_ = OpenAtExactPath(path.c_str(), FILE_LIST_DIRECTORY | READ_CONTROL | DELETE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (folder_ == INVALID_HANDLE_VALUE) RemoveDirectoryW(path.c_str());
  }
  return folder_ != INVALID_HANDLE_VALUE && OnlyAdministratorsCanWrite(folder_);
}

bool LibraryCopy::CopyFrom(HANDLE source, PSECURITY_DESCRIPTOR descriptor) {
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
  file_ = CreateFileW(filePath_.c_str(), GENERIC_WRITE | DELETE | READ_CONTROL, 0,
                      &attributes, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file_ == INVALID_HANDLE_VALUE || !LiesAt(file_, filePath_.c_str()) || !OnlyAdministratorsCanWrite(file_)) {
    return false;
  }
  LARGE_INTEGER start{};
  if (!SetFilePointerEx(source, start, nullptr, FILE_BEGIN)) return false;
  char chunk[kCopyChunk];
  for (;;) {
    DWORD read = 0;
    DWORD written = 0;
    if (!ReadFile(source, chunk, kCopyChunk, &read, nullptr)) return false;
    if (read == 0) break;
    if (!WriteFile(file_, chunk, read, &written, nullptr) || written != read) return false;
  }
  // Reopened without the write access, which the loader's open would not
  // share; shared for reading alone, so that nobody changes or renames it.
  CloseHandle(file_);
  file_ = OpenAtExactPath(filePath_.c_str(), FILE_READ_DATA | READ_CONTROL | DELETE, FILE_SHARE_READ);
  return file_ != INVALID_HANDLE_VALUE && OnlyAdministratorsCanWrite(file_);
}

HMODULE LibraryCopy::Load(HANDLE source, const wchar_t* fileName) {
  if (library_ != nullptr || folder_ != INVALID_HANDLE_VALUE) return nullptr;  // one copy per object
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kPrivateRights, SDDL_REVISION_1, &descriptor, nullptr)) {
    return nullptr;
  }
  bool copied = MakeFolder(descriptor);
  if (copied) {
    filePath_ = folderPath_ + L"\\" + fileName;
    copied = CopyFrom(source, descriptor);
  }
  LocalFree(descriptor);
  // Its own imports are looked for beside it (nothing else there) and in the
  // system's folders.
  if (copied) library_ = LoadLibraryExW(filePath_.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (library_ == nullptr) Remove();
  return library_;
}

void LibraryCopy::Remove() {
  if (file_ != INVALID_HANDLE_VALUE) {
    Dispose(file_);
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
  }
  if (folder_ != INVALID_HANDLE_VALUE) {
    Dispose(folder_);
    CloseHandle(folder_);
    folder_ = INVALID_HANDLE_VALUE;
  }
}

}  // namespace tw
