// The kernel32 file calls that the cleanup needs, with Windows paths in the
// active code page. Failures are reported through LastError as GetLastError
// would report them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace tw {

using FindHandle = std::uintptr_t;
constexpr FindHandle kInvalidFindHandle = ~static_cast<FindHandle>(0);

struct FindData {
  std::uint32_t attributes = 0;  // dwFileAttributes
  std::string name;              // cFileName: the name alone, no directory
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // FindFirstFileA / FindNextFileA / FindClose
  virtual FindHandle FindFirst(const char* pattern, FindData* data) = 0;
  virtual bool FindNext(FindHandle search, FindData* data) = 0;
  virtual bool FindClose(FindHandle search) = 0;
  // GetFileAttributesA / SetFileAttributesA. The attributes of a file with
  // more than one name (hard links) belong to every name, also those outside
  // the folder at hand: they are never changed, the call refused with
  // ERROR_ACCESS_DENIED.
  virtual std::uint32_t GetAttributes(const char* path) = 0;
  virtual bool SetAttributes(const char* path, std::uint32_t attributes) = 0;
  // Whether SetAttributes would get past its open and that refusal, nothing
  // changed; false with LastError set as SetAttributes sets it.
  virtual bool MaySetAttributes(const char* path) = 0;
  // DeleteFileA / RemoveDirectoryA
  virtual bool RemoveFile(const char* path) = 0;
  virtual bool RemoveFolder(const char* path) = 0;
  // Whether RemoveFile (folder false) or RemoveFolder would get past its
  // open: the same open for delete, with the same sharing and the same check
  // of where the object lies, and nothing disposed. The attribute checks that
  // follow the open are the caller's (a preview knows the attributes the run
  // would have set by then). False with LastError set as the delete sets it.
  virtual bool MayRemove(const char* path, bool folder) = 0;
  // Whether path names, exactly, a file of its own: no folder, no link at
  // the path or on the way to it, no second name. For a file that is handed
  // to a call that follows links (a hive a user can plant). False with
  // LastError set: ERROR_ACCESS_DENIED for a link, a folder or a second name.
  virtual bool IsPlainFile(const char* path) = 0;
  // GetLastError after a failed call of this interface.
  virtual Status LastError() = 0;
};

}  // namespace tw
