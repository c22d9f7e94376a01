#include "shell/file_search.h"

namespace tw {

std::vector<std::string> FindNames(FileSystem& files, const std::string& pattern) {
  std::vector<std::string> names;
  FindData found;
  const FindHandle search = files.FindFirst(pattern.c_str(), &found);
  if (search == kInvalidFindHandle) return names;
  do {
    names.push_back(found.name);
  } while (files.FindNext(search, &found));
  files.FindClose(search);
  return names;
}

}  // namespace tw
