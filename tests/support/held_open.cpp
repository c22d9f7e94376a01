#include "tests/support/held_open.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace tw::test {

#if defined(_WIN32)
HeldOpen::HeldOpen(const std::filesystem::path& hostPath) {
  handle_ = CreateFileW(hostPath.wstring().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  held_ = handle_ != INVALID_HANDLE_VALUE;
}

HeldOpen::~HeldOpen() {
  if (held_) CloseHandle(handle_);
}
#else
HeldOpen::HeldOpen(const std::filesystem::path& hostPath) {
  descriptor_ = open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
  held_ = descriptor_ >= 0 && flock(descriptor_, LOCK_EX | LOCK_NB) == 0;
}

HeldOpen::~HeldOpen() {
  if (descriptor_ >= 0) close(descriptor_);
}
#endif

}  // namespace tw::test
