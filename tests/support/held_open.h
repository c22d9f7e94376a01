// Another program's open of a file or folder without delete sharing, for as
// long as the object lives: on Windows a handle shared for reading and
// writing only, on the portable disk the lock that stands for it.
#pragma once

#include <filesystem>

namespace tw::test {

class HeldOpen {
 public:
  explicit HeldOpen(const std::filesystem::path& hostPath);
  ~HeldOpen();
  HeldOpen(const HeldOpen&) = delete;
  HeldOpen& operator=(const HeldOpen&) = delete;

  bool Held() const { return held_; }

 private:
#if defined(_WIN32)
  void* handle_ = nullptr;
#else
  int descriptor_ = -1;
#endif
  bool held_ = false;
};

}  // namespace tw::test
