// A fresh folder for one test, removed with everything in it at the end.
#pragma once

#include <filesystem>

namespace tw::test {

// Removes a folder tree a test made, read-only entries included; links are
// removed, never followed. Errors are ignored: this is clean-up.
void RemoveTestTree(const std::filesystem::path& path);

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A temporary folder that stands for the drives: drive C: is its "c".
class TempDrives : public TempFolder {
 public:
  TempDrives() { std::filesystem::create_directories(Path() / "c"); }
};

}  // namespace tw::test
