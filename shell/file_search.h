// Wildcard searches through the platform's file search.
#pragma once

#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/file_system.h"

namespace tw {

// The names (without a directory) of everything the pattern matches, in the
// order the search returns them, leaving out every name that is not one plain
// path component. The search is always closed.
std::vector<std::string> FindNames(FileSystem& files, const CodePage& codePage, const std::string& pattern);

}  // namespace tw
