#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include "platform/win32/exact_path.h"
#include "platform/win32/user_rights.h"
#include "platform/win32/wide_text.h"

namespace tw {
namespace {

using FileInfo = BY_HANDLE_FILE_INFORMATION;

HANDLE ToHandle(FindHandle search) {
  return search == kInvalidFindHandle ? INVALID_HANDLE_VALUE : reinterpret_cast<HANDLE>(search);
}

// A name without an exact form in the active code page is handed on empty:
// no usable name, so its entry and the folders above it stay.
void Copy(const WIN32_FIND_DATAW& found, FindData* data) {
  data->attributes = found.dwFileAttributes;
  data->name = NarrowExactly(found.cFileName).value_or(std::string());
}

bool Fail(DWORD error) {
  SetLastError(error);
  return false;
}

// One change to the object the path names, made through a handle that was
// checked to hold that very object; done with the user's own rights.
template <typename Change>
bool ChangeAtExactPath(const char* path, DWORD access, Change change) {
  const UserRights rights;
  if (!rights.Held()) return Fail(ERROR_ACCESS_DENIED);
  const HANDLE handle = OpenAtExactPath(path, access | FILE_READ_ATTRIBUTES);
  if (handle == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  bool done = GetFileInformationByHandle(handle, &info) && change(handle, info);
  const DWORD error = GetLastError();
  CloseHandle(handle);
  SetLastError(error);
  return done;
}

bool Dispose(HANDLE handle) {
  FILE_DISPOSITION_INFO disposition{TRUE};
  return SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}

bool IsLink(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
bool IsFolder(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
bool IsReadOnly(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_READONLY) != 0; }

// The attributes of a file with another name are that name's too, wherever
// it lies: they stay. Asked of the handle the change is made through, so the
// name cannot be swapped in between.
bool HasOtherNames(const FileInfo& info) {
  return !IsFolder(info.dwFileAttributes) && info.nNumberOfLinks > 1;
}

}  // namespace

FindHandle Win32FileSystem::FindFirst(const char* pattern, FindData* data) {
  const WideText widePattern = WidenFromActiveCodePage(pattern);
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(widePattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return kInvalidFindHandle;
  Copy(found, data);
  return reinterpret_cast<FindHandle>(search);
}

bool Win32FileSystem::FindNext(FindHandle search, FindData* data) {
  WIN32_FIND_DATAW found;
  if (!FindNextFileW(ToHandle(search), &found)) return false;
  Copy(found, data);
  return true;
}

bool Win32FileSystem::FindClose(FindHandle search) { return ::FindClose(ToHandle(search)) != FALSE; }

std::uint32_t Win32FileSystem::GetAttributes(const char* path) { return GetFileAttributesA(path); }

bool Win32FileSystem::SetAttributes(const char* path, std::uint32_t attributes) {
  return ChangeAtExactPath(path, FILE_WRITE_ATTRIBUTES, [attributes](HANDLE handle, const FileInfo& info) {
    if (HasOtherNames(info)) return Fail(ERROR_ACCESS_DENIED);
    FILE_BASIC_INFO basic{};  // times of zero stay as they are
    const DWORD settable = attributes & ~(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
    basic.FileAttributes = settable == 0 ? FILE_ATTRIBUTE_NORMAL : settable;
    return SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic) != FALSE;
  });
}

bool Win32FileSystem::MaySetAttributes(const char* path) {
  return ChangeAtExactPath(path, FILE_WRITE_ATTRIBUTES, [](HANDLE, const FileInfo& info) {
    return !HasOtherNames(info) || Fail(ERROR_ACCESS_DENIED);
  });
}

// As DeleteFile: not a folder, not read-only; a link goes by itself.
bool Win32FileSystem::RemoveFile(const char* path) {
  return ChangeAtExactPath(path, DELETE, [](HANDLE handle, const FileInfo& info) {
    const DWORD current = info.dwFileAttributes;
    if (IsFolder(current) || (IsReadOnly(current) && !IsLink(current))) return Fail(ERROR_ACCESS_DENIED);
    return Dispose(handle);
  });
}

// As RemoveDirectory: a folder, empty and not read-only; a link goes by itself.
bool Win32FileSystem::RemoveFolder(const char* path) {
  return ChangeAtExactPath(path, DELETE, [](HANDLE handle, const FileInfo& info) {
    const DWORD current = info.dwFileAttributes;
    if (!IsFolder(current)) return Fail(ERROR_DIRECTORY);
    if (IsReadOnly(current) && !IsLink(current)) return Fail(ERROR_ACCESS_DENIED);
    return Dispose(handle);
  });
}

// The open of RemoveFile and RemoveFolder: a file held open by another
// program without delete sharing, or a path that is not where it says, is
// refused here as there.
bool Win32FileSystem::MayRemove(const char* path, bool) {
  return ChangeAtExactPath(path, DELETE, [](HANDLE, const FileInfo&) { return true; });
}

// Asked with the run's own rights: it changes nothing, and the file is
// usually another user's.
bool Win32FileSystem::IsPlainFile(const char* path) {
  const WideText wide = WidenFromActiveCodePage(path);
  if (wide.empty()) return Fail(ERROR_INVALID_NAME);
  return IsPlainFileAt(wide.c_str(), true);
}

Status Win32FileSystem::LastError() { return static_cast<Status>(GetLastError()); }

}  // namespace tw
