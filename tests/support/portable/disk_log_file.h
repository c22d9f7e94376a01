// The change log in a file of the portable file system's drives, with the same
// refusals as on Windows: no link, no second name, no truncation. POSIX only.
#pragma once

#include "platform/log_file.h"
#include "tests/support/portable/disk_file_system.h"

namespace tw {

class DiskLogFile : public LogFile {
 public:
  // Windows paths are those of files' drives.
  explicit DiskLogFile(const DiskFileSystem& files) : files_(files) {}
  ~DiskLogFile() override;
  DiskLogFile(const DiskLogFile&) = delete;
  DiskLogFile& operator=(const DiskLogFile&) = delete;

  Status Open(const char* path) override;
  Status AppendLine(const std::string& text) override;
  std::string LocalTime() override;

 private:
  const DiskFileSystem& files_;
  int descriptor_ = -1;
};

}  // namespace tw
