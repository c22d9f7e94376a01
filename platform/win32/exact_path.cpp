#include "platform/win32/exact_path.h"

#include "platform/win32/wide_text.h"

namespace tw {
namespace {

constexpr wchar_t kLocalPrefix[] = L"\\\\?\\";
constexpr wchar_t kUncPrefix[] = L"\\\\?\\UNC\\";

bool StartsWith(const WideText& text, const wchar_t* prefix) { return text.compare(0, lstrlenW(prefix), prefix) == 0; }

// "\\?\C:\dir" -> "C:\dir", "\\?\UNC\server\share" -> "\\server\share".
WideText WithoutLongPrefix(const WideText& path) {
  if (StartsWith(path, kUncPrefix)) return L"\\" + path.substr(lstrlenW(kUncPrefix) - 1);
  if (StartsWith(path, kLocalPrefix)) return path.substr(lstrlenW(kLocalPrefix));
  return path;
}

}  // namespace

WideText FinalPathOf(HANDLE handle) {
  WideText path(MAX_PATH, L'\0');
  DWORD length = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), FILE_NAME_NORMALIZED);
  if (length >= path.size()) {
    path.resize(length + 1);
    length = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), FILE_NAME_NORMALIZED);
  }
  path.resize(length < path.size() ? length : 0);
  return WithoutLongPrefix(path);
}

WideText FullPathOf(const wchar_t* path) {
  WideText full(MAX_PATH, L'\0');
  DWORD length = GetFullPathNameW(path, static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length >= full.size()) {
    full.resize(length + 1);
    length = GetFullPathNameW(path, static_cast<DWORD>(full.size()), full.data(), nullptr);
  }
  full.resize(length < full.size() ? length : 0);
  return full;
}

bool LiesAt(HANDLE handle, const wchar_t* path) {
  const WideText final = FinalPathOf(handle);
  const WideText expected = FullPathOf(path);
  return !final.empty() &&
         CompareStringOrdinal(final.c_str(), static_cast<int>(final.size()), expected.c_str(),
                              static_cast<int>(expected.size()), TRUE) == CSTR_EQUAL;
}

bool IsPlainFileAt(const wchar_t* path, bool singleName) {
  const HANDLE file = OpenAtExactPath(path, FILE_READ_ATTRIBUTES, kShareAll);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  const bool plain = GetFileInformationByHandle(file, &info) &&
                     (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0 &&
                     (!singleName || info.nNumberOfLinks == 1);
  CloseHandle(file);
  if (!plain) SetLastError(ERROR_ACCESS_DENIED);
  return plain;
}

HANDLE OpenAtExactPath(const char* path, DWORD access) {
  const WideText wide = WidenFromActiveCodePage(path);
  if (wide.empty()) {
    SetLastError(ERROR_INVALID_NAME);
    return INVALID_HANDLE_VALUE;
  }
  return OpenAtExactPath(wide.c_str(), access, kShareAll);
}

HANDLE OpenAtExactPath(const wchar_t* path, DWORD access, DWORD share) {
  HANDLE handle = CreateFileW(path, access, share, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT | kIdentifyOnly, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return handle;
  if (!LiesAt(handle, path)) {
    CloseHandle(handle);
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  return handle;
}

}  // namespace tw
