// Windows paths on a real disk: "C:\dir\file" lives at <root>/c/dir/file.
// Names are matched without regard to case, searches use Windows wildcards,
// the read-only attribute is the absence of write permission and is honoured
// by deletes even for root, and a symbolic link stands for a reparse point.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace tw {

class DiskFileSystem : public FileSystem {
 public:
  explicit DiskFileSystem(std::filesystem::path root);

  FindHandle FindFirst(const char* pattern, FindData* data) override;
  bool FindNext(FindHandle search, FindData* data) override;
  bool FindClose(FindHandle search) override;
  std::uint32_t GetAttributes(const char* path) override;
  bool SetAttributes(const char* path, std::uint32_t attributes) override;
  bool RemoveFile(const char* path) override;
  bool RemoveFolder(const char* path) override;
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

  std::filesystem::path root_;
  std::map<FindHandle, Search> searches_;
  FindHandle nextSearch_ = 0x100;
  Status lastError_ = kErrorSuccess;
};

// Windows wildcard matching of one name ("*" and "?", without regard to case).
bool MatchesWildcard(const std::string& pattern, const std::string& name);

}  // namespace tw
