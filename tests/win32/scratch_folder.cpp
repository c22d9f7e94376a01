#include "tests/win32/scratch_folder.h"

#include <windows.h>

#include <stdexcept>

namespace tw::win32test {

ScratchFolder::ScratchFolder()
    : path_("C:\\twwin32-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount())) {
  for (int attempt = 0; !CreateDirectoryA(path_.c_str(), nullptr); ++attempt) {
    if (attempt == 100) throw std::runtime_error("cannot create a scratch folder");
    path_ += "x";
  }
}

ScratchFolder::~ScratchFolder() {
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      DeleteFileA((path_ + "\\" + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path_.c_str());
}

std::string ScratchFolder::Listing() const {
  std::string names;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names += name + ";";
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

}  // namespace tw::win32test
