// Where program folders and shortcut files live on disk. The programs
// directory comes from the user's hive and the folder and shortcut names from
// the family's tree; a value that is not what it should be must never lead a
// delete outside the programs directory, so such a value yields no path.
#pragma once

#include <optional>
#include <string>

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/registry.h"

namespace tw {

// The current user's start-menu programs directory; nothing when it cannot be
// read or is not an absolute path (drive letter and backslash, or UNC).
std::optional<std::string> ReadProgramsDirectory(Registry& registry);

// Whether the name is one plain path component: not empty, no "\", "/" or ":"
// (trail bytes of double-byte characters aside), and not made of dots and
// blanks only, which Windows reads as "." or "..".
bool IsPlainName(const CodePage& codePage, const std::string& name);

// <programs directory>\<folder name>; nothing for a name that is not plain or
// a path that would not fit MAX_PATH.
std::optional<std::string> ProgramFolderPath(const CodePage& codePage, const std::string& programsDirectory,
                                             const std::string& folderName);

// Whether the program folder is a junction or symbolic link, which would take
// a delete or save of a shortcut in it elsewhere (a missing folder is none).
bool IsLinkedFolder(FileSystem& files, const std::string& folderPath);

// <programs directory>\<folder name>\<shortcut name>.lnk, on the same terms.
std::optional<std::string> ShortcutFilePath(const CodePage& codePage, const std::string& programsDirectory,
                                            const std::string& folderName, const std::string& shortcutName);

}  // namespace tw
