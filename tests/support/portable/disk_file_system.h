// Windows paths on a real disk: "C:\dir\file" lives at <root>/c/dir/file.
// Names are matched without regard to case, searches use Windows wildcards,
// the read-only attribute is the absence of write permission and is honoured
// by deletes (of files and folders) even for root, and a symbolic link stands
// for a reparse point. As the Win32 layer does, nothing is deleted or changed
// through a link at any level of its path; a link itself may go. Paths are
// split at real backslashes only, never at the trail byte of a double-byte
// character of the code page given. A file or folder that another program
// holds open without delete sharing is one on which another open holds a
// lock (flock): its delete fails with a sharing violation. A file with more
// than one name (link(), a hard link) keeps its attributes, as on Windows.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/file_system.h"

namespace tw {

class DiskFileSystem : public FileSystem {
 public:
  // codePage null: a single-byte code page.
  explicit DiskFileSystem(std::filesystem::path root, const CodePage* codePage = nullptr);

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
  Status LastError() override { return lastError_; }

  // Where a Windows path lives on the host, following existing names without
  // regard to case; nothing when the path is not an absolute drive path.
  std::optional<std::filesystem::path> HostPath(const std::string& windowsPath) const;
  std::size_t OpenSearchCount() const { return searches_.size(); }

 private:
  struct Search {
    std::vector<FindData> entries;
    std::size_t next = 0;
  };

  bool Fail(Status error);
  // The error for a path that names nothing: a missing folder on the way is
  // another error than a missing last name.
  bool FailMissing(const std::filesystem::path& hostPath);
  std::uint32_t AttributesOf(const std::filesystem::path& hostPath) const;
  // Whether a folder on the way from the drive to hostPath is a link.
  bool PassesLink(const std::filesystem::path& hostPath) const;

  std::filesystem::path root_;
  const CodePage* codePage_;
  std::map<FindHandle, Search> searches_;
  FindHandle nextSearch_ = 0x100;
  Status lastError_ = kErrorSuccess;
};

// Windows wildcard matching of one name ("*" and "?", without regard to case).
bool MatchesWildcard(const std::string& pattern, const std::string& name);

}  // namespace tw
