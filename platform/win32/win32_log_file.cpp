#include "platform/win32/win32_log_file.h"

#include <windows.h>

#include <string>

#include "platform/win32/wide_text.h"

namespace tw {
namespace {

// Whether the opened file is one the log may go into: a plain file on disk
// with no other name, not the link or junction that stood at the path.
bool IsPlainSingleFile(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION information{};
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &information)) return false;
  const DWORD refused = FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE;
  return (information.dwFileAttributes & refused) == 0 && information.nNumberOfLinks == 1;
}

// Whether the opened file is the one the path names, reached through no link
// or junction in any of its folders: the final path of the handle is the
// full path asked for. A short (8.3) name in the path is refused too.
bool IsWherePathSays(HANDLE file, const WideText& path) {
  const DWORD fullLength = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  const DWORD finalLength = GetFinalPathNameByHandleW(file, nullptr, 0, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (fullLength == 0 || finalLength == 0) return false;
  WideText full(fullLength, L'\0');
  WideText final(finalLength, L'\0');
  full.resize(GetFullPathNameW(path.c_str(), fullLength, full.data(), nullptr));
  final.resize(GetFinalPathNameByHandleW(file, final.data(), finalLength, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS));
  const WideText local = L"\\\\?\\";
  const WideText network = L"\\\\?\\UNC\\";
  if (final.compare(0, network.size(), network) == 0) {
    final = L"\\" + final.substr(network.size() - 1);
  } else if (final.compare(0, local.size(), local) == 0) {
    final = final.substr(local.size());
  }
  return CompareStringOrdinal(full.c_str(), static_cast<int>(full.size()), final.c_str(), static_cast<int>(final.size()),
                              TRUE) == CSTR_EQUAL;
}

}  // namespace

Win32LogFile::~Win32LogFile() {
  if (handle_ != nullptr) CloseHandle(handle_);
}

Status Win32LogFile::Open(const char* path) {
  const WideText widePath = WidenFromActiveCodePage(path);
  if (widePath.empty()) return ERROR_INVALID_NAME;
  // Append-only access never truncates; opening the reparse point itself
  // keeps a link planted at the path from leading elsewhere, and the final
  // path a junction planted in one of its folders. A file made through such a
  // junction before it is refused stays, empty.
  HANDLE file = CreateFileW(widePath.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return static_cast<Status>(GetLastError());
  if (!IsPlainSingleFile(file) || !IsWherePathSays(file, widePath)) {
    CloseHandle(file);
    return ERROR_ACCESS_DENIED;
  }
  handle_ = file;
  return kErrorSuccess;
}

Status Win32LogFile::AppendLine(const std::string& text) {
  if (handle_ == nullptr) return ERROR_INVALID_HANDLE;
  const std::string line = text + "\r\n";
  DWORD written = 0;
  if (!WriteFile(handle_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr)) {
    return static_cast<Status>(GetLastError());
  }
  return written == line.size() ? kErrorSuccess : static_cast<Status>(ERROR_WRITE_FAULT);
}

std::string Win32LogFile::LocalTime() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const auto two = [](WORD number) { return std::string(number < 10 ? "0" : "") + std::to_string(number); };
  return std::to_string(now.wYear) + "-" + two(now.wMonth) + "-" + two(now.wDay) + " " + two(now.wHour) + ":" +
         two(now.wMinute) + ":" + two(now.wSecond);
}

}  // namespace tw
