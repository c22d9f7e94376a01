#include "shell/file_search.h"

#include "shell/start_menu_paths.h"

namespace tw {

std::vector<std::string> FindNames(FileSystem& files, const CodePage& codePage, const std::string& pattern) {
  std::vector<std::string> names;
  FindData found;
  const FindHandle search = files.FindFirst(pattern.c_str(), &found);
  if (search == kInvalidFindHandle) return names;
  do {
    if (IsPlainName(codePage, found.name)) names.push_back(found.name);
  } while (files.FindNext(search, &found));
  files.FindClose(search);
  return names;
}

}  // namespace tw
