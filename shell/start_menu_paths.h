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
#include "platform/user_folders.h"

namespace tw {

// path in the account's hive (HKEY_CURRENT_USER's own, or its key below
// HKEY_USERS); nothing for a path that would not fit.
std::optional<std::string> HiveKeyPath(const UserAccount& account, const std::string& path);

// The entered user's start-menu programs directory (the account's, which
// user has entered), as the final path of the folder; nothing when it cannot
// be read or cannot be opened. Nothing either,
// and the refusal told to user, when it is not a path on a drive letter
// (drive letter and backslash; no UNC, device or pipe path, no device name
// in it), which is refused before anything opens it, or when the folder does
// not lie below the user's profile folder or the user's own rights cannot be
// had: whatever lies below such a folder is not the user's to have removed.
std::optional<std::string> ReadProgramsDirectory(Registry& registry, UserFolders& user, const UserAccount& account);

// Whether the final path lies below the final path of the folder. Both come
// from the same system call, which spells every name as the disk holds it, so
// the bytes are compared as they stand.
bool LiesBelow(const std::string& path, const std::string& folder);

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
