#include "platform/win32/win32_file_system.h"

#include <windows.h>

namespace tw {
namespace {

HANDLE ToHandle(FindHandle search) {
  return search == kInvalidFindHandle ? INVALID_HANDLE_VALUE : reinterpret_cast<HANDLE>(search);
}

void Copy(const WIN32_FIND_DATAA& found, FindData* data) {
  data->attributes = found.dwFileAttributes;
  data->name = found.cFileName;
}

}  // namespace

FindHandle Win32FileSystem::FindFirst(const char* pattern, FindData* data) {
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return kInvalidFindHandle;
  Copy(found, data);
  return reinterpret_cast<FindHandle>(search);
}

bool Win32FileSystem::FindNext(FindHandle search, FindData* data) {
  WIN32_FIND_DATAA found;
  if (!FindNextFileA(ToHandle(search), &found)) return false;
  Copy(found, data);
  return true;
}

bool Win32FileSystem::FindClose(FindHandle search) { return ::FindClose(ToHandle(search)) != FALSE; }

std::uint32_t Win32FileSystem::GetAttributes(const char* path) { return GetFileAttributesA(path); }

bool Win32FileSystem::SetAttributes(const char* path, std::uint32_t attributes) {
  return SetFileAttributesA(path, attributes) != FALSE;
}

bool Win32FileSystem::RemoveFile(const char* path) { return DeleteFileA(path) != FALSE; }

bool Win32FileSystem::RemoveFolder(const char* path) { return RemoveDirectoryA(path) != FALSE; }

Status Win32FileSystem::LastError() { return static_cast<Status>(GetLastError()); }

}  // namespace tw
