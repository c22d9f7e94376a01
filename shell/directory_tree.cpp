#include "shell/directory_tree.h"

#include "registry/key_path.h"
#include "registry/layout.h"
#include "shell/start_menu_paths.h"

namespace tw {
namespace {

bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

// A junction or symbolic link goes by itself; whatever it points to stays.
void RemoveLink(FileSystem& files, const std::string& path, std::uint32_t attributes) {
  if ((attributes & kFileAttributeDirectory) != 0) {
    files.RemoveFolder(path.c_str());
  } else {
    files.RemoveFile(path.c_str());
  }
}

// A read-only file whose attribute cannot be cleared stays: the platform
// refuses the change for a file with another name (a hard link), whose
// attribute guards that name too, and the delete could not follow anyway.
void RemoveFile(FileSystem& files, const std::string& path, std::uint32_t attributes) {
  if ((attributes & kFileAttributeReadOnly) != 0 &&
      !files.SetAttributes(path.c_str(), attributes & ~kFileAttributeReadOnly)) {
    return;
  }
  files.RemoveFile(path.c_str());
}

}  // namespace

void DeleteDirectoryTree(FileSystem& files, const CodePage& codePage, const std::string& path) {
  const std::uint32_t attributes = files.GetAttributes(path.c_str());
  if (attributes == kInvalidFileAttributes) return;
  if ((attributes & kFileAttributeReparsePoint) != 0) return RemoveLink(files, path, attributes);
  if ((attributes & kFileAttributeDirectory) == 0) return;

  const auto pattern = JoinPath({path, "*.*"}, layout::kPathCapacity);
  if (!pattern) return;
  FindData entry;
  const FindHandle search = files.FindFirst(pattern->c_str(), &entry);
  if (search == kInvalidFindHandle) return;
  do {
    if (IsDotEntry(entry.name)) continue;
    // A name from the disk is as hostile as one from the registry; one that
    // is not a plain name (or has no exact form in the code page) stays.
    if (!IsPlainName(codePage, entry.name)) continue;
    // An entry whose path would not fit is left, never cut short into another name.
    const auto child = JoinPath({path, entry.name}, layout::kPathCapacity);
    if (!child) continue;
    if ((entry.attributes & kFileAttributeReparsePoint) != 0) {
      RemoveLink(files, *child, entry.attributes);
    } else if ((entry.attributes & kFileAttributeDirectory) != 0) {
      DeleteDirectoryTree(files, codePage, *child);
    } else {
      RemoveFile(files, *child, entry.attributes);
    }
  } while (files.FindNext(search, &entry));
  // A search that broke off has not seen everything: the folder stays.
  const bool walkedToTheEnd = files.LastError() == kErrorNoMoreFiles;
  files.FindClose(search);
  if (walkedToTheEnd) files.RemoveFolder(path.c_str());
}

}  // namespace tw
