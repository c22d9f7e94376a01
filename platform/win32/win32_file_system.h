// Files through kernel32: searches with the wide calls and exact 8-bit names;
// deletes and attribute changes through handles that hold the very object the
// path names, never one reached through a link, with the user's own rights;
// the attributes of a file with more than one name stay.
#pragma once

#include "platform/file_system.h"

namespace tw {

class Win32FileSystem : public FileSystem {
 public:
  FindHandle FindFirst(const char* pattern, FindData* data) override;
  bool FindNext(FindHandle search, FindData* data) override;
  bool FindClose(FindHandle search) override;
  std::uint32_t GetAttributes(const char* path) override;
  bool SetAttributes(const char* path, std::uint32_t attributes) override;
  bool MaySetAttributes(const char* path) override;
  bool RemoveFile(const char* path) override;
  bool RemoveFolder(const char* path) override;
  bool MayRemove(const char* path, bool folder) override;
  bool IsPlainFile(const char* path) override;
  Status LastError() override;
};

}  // namespace tw
