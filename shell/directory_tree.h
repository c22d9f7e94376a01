// Deleting a folder with everything in it.
#pragma once

#include <string>

#include "platform/code_page.h"
#include "platform/file_system.h"

namespace tw {

// The folder at path and what it holds. A junction or symbolic link, at the
// top or below, goes by itself and whatever it points to stays; an entry
// whose name is not a plain name in the code page stays, and so does every
// folder above it. A read-only file with another name (a hard link) stays
// too: its attribute is that of the other name as well.
void DeleteDirectoryTree(FileSystem& files, const CodePage& codePage, const std::string& path);

}  // namespace tw
