// A folder of its own on drive C: for one test, removed with its files
// afterwards.
#pragma once

#include <string>

namespace tw::win32test {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return path_; }
  // The path of a name inside the folder.
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }
  // The names of the files in the folder.
  std::string Listing() const;

 private:
  std::string path_;
};

}  // namespace tw::win32test
