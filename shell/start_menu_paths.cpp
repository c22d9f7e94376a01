#include "shell/start_menu_paths.h"

#include "registry/key_path.h"
#include "registry/layout.h"
#include "registry/scoped_key.h"

namespace tw {
namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool IsAbsolutePath(const std::string& path) {
  if (path.size() < 3) return false;
  const bool drive = IsDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\';
  const bool unc = path[0] == '\\' && path[1] == '\\' && path[2] != '\\' && path[2] != '/';
  return drive || unc;
}

}  // namespace

std::optional<std::string> ReadProgramsDirectory(Registry& registry) {
  const ScopedKey shellFolders(registry, kHkeyCurrentUser, std::string(layout::kShellFolders), kKeyQueryValue);
  auto directory = shellFolders.ReadText(layout::kPrograms, layout::kPathCapacity);
  if (!directory || !IsAbsolutePath(*directory)) return std::nullopt;
  return directory;
}

bool IsPlainName(const CodePage& codePage, const std::string& name) {
  if (name.find_first_not_of(". ") == std::string::npos) return false;  // also the empty name
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (codePage.IsLeadByte(static_cast<unsigned char>(name[i]))) {
      ++i;  // a trail byte may be 0x5C without being a separator
    } else if (name[i] == '\\' || name[i] == '/' || name[i] == ':') {
      return false;
    }
  }
  return true;
}

std::optional<std::string> ProgramFolderPath(const CodePage& codePage, const std::string& programsDirectory,
                                             const std::string& folderName) {
  if (!IsPlainName(codePage, folderName)) return std::nullopt;
  return JoinPath({programsDirectory, folderName}, layout::kPathCapacity);
}

bool IsLinkedFolder(FileSystem& files, const std::string& folderPath) {
  const std::uint32_t attributes = files.GetAttributes(folderPath.c_str());
  return attributes != kInvalidFileAttributes && (attributes & kFileAttributeReparsePoint) != 0;
}

std::optional<std::string> ShortcutFilePath(const CodePage& codePage, const std::string& programsDirectory,
                                            const std::string& folderName, const std::string& shortcutName) {
  if (!IsPlainName(codePage, folderName) || !IsPlainName(codePage, shortcutName)) return std::nullopt;
  return JoinPath({programsDirectory, folderName, shortcutName + ".lnk"}, layout::kPathCapacity);
}

}  // namespace tw
