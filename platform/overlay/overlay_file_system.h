// The file system of a preview: reads see the machine's files, deletions and
// attribute changes stay in the overlay and are refused as Windows refuses
// them (a folder that still holds entries, a read-only file or folder, a path
// through a link, a drive's root); the open a delete or attribute change
// makes is asked of the machine itself (a file held open, a path not where it
// says, a file with more than one name).
#pragma once

#include <map>
#include <string>

#include "platform/code_page.h"
#include "platform/file_system.h"

namespace tw {

class OverlayFileSystem : public FileSystem {
 public:
  OverlayFileSystem(FileSystem& machine, const CodePage& codePage) : machine_(machine), codePage_(codePage) {}

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
  Status LastError() override { return ownError_ ? lastError_ : machine_.LastError(); }

 private:
  bool Deleted(const std::string& path) const;
  // Skips the entries of a search that the overlay deleted; false at its end.
  bool SkipDeleted(FindHandle search, bool found, FindData* data);
  // The attributes as the overlay sees them; the error of a missing path.
  std::uint32_t Attributes(const std::string& path, Status* error);
  // A change refused with the error Windows gives; the machine's own errors
  // pass through LastError.
  bool Fail(Status error);
  bool Succeed();
  bool HasLiveEntries(const std::string& folder);
  bool PassesLink(const std::string& path);
  bool MachineMayRemove(const std::string& path, bool folder);
  // The part of a path up to and with its last separator.
  std::string FolderOf(const std::string& path) const;

  FileSystem& machine_;
  const CodePage& codePage_;
  // Attributes set in the overlay by folded path; kInvalidFileAttributes
  // for a deleted entry.
  std::map<std::string, std::uint32_t> attributes_;
  std::map<FindHandle, std::string> searchFolders_;  // with the trailing backslash
  bool ownError_ = false;
  Status lastError_ = kErrorSuccess;
};

}  // namespace tw
