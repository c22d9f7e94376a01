#include "tests/support/portable/disk_log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <ctime>

namespace tw {
namespace {

Status FromErrno(int error) {
  switch (error) {
    case ENOENT: return kErrorPathNotFound;
    case ENAMETOOLONG: return kErrorBadPathname;
    default: return kErrorAccessDenied;  // links (ELOOP), folders, permissions
  }
}

}  // namespace

DiskLogFile::~DiskLogFile() {
  if (descriptor_ >= 0) close(descriptor_);
}

Status DiskLogFile::Open(const char* path) {
  const auto host = files_.HostPath(path);
  if (!host) return kErrorPathNotFound;
  // A symbolic link in one of the folders would lead elsewhere: the folder's
  // real path must be the one asked for, before a file is made there.
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path folder = fs::absolute(*host).lexically_normal().parent_path();
  if (fs::canonical(folder, error) != folder) return error ? kErrorPathNotFound : kErrorAccessDenied;
  // O_NOFOLLOW refuses a symbolic link at the path; O_NONBLOCK keeps a FIFO
  // planted there from stalling the run until it is refused below.
  const int descriptor =
      open(host->c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC, 0644);
  if (descriptor < 0) return FromErrno(errno);
  struct stat status {};
  if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_nlink != 1) {
    close(descriptor);
    return kErrorAccessDenied;
  }
  descriptor_ = descriptor;
  return kErrorSuccess;
}

Status DiskLogFile::AppendLine(const std::string& text) {
  if (descriptor_ < 0) return kErrorInvalidHandle;
  const std::string line = text + "\r\n";
  std::size_t done = 0;
  while (done < line.size()) {
    const ssize_t written = write(descriptor_, line.data() + done, line.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return kErrorAccessDenied;
    done += static_cast<std::size_t>(written);
  }
  return kErrorSuccess;
}

std::string DiskLogFile::LocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

}  // namespace tw
