#include "shell/start_menu_paths.h"

#include <algorithm>

#include "registry/key_path.h"
#include "registry/layout.h"
#include "registry/scoped_key.h"

namespace tw {
namespace {

// Only a folder on a drive letter is opened: a UNC path, a "\\?\" or
// "\\.\" device path or a pipe would reach another machine or a device, and
// a pipe's server could act with the rights of the elevated run that opens it.
bool IsDriveLetterPath(const std::string& path) {
  return path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\';
}

// Whether a component is a name Windows takes for a device in any folder
// ("C:\x\NUL" is the device NUL): the name before its first dot or colon,
// without trailing blanks. Both slashes separate; a trail byte 0x5C splits a
// component here too, which can only refuse more.
bool NamesDevice(const std::string& path) {
  static constexpr const char* kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (std::size_t start = 0; start <= path.size();) {
    std::size_t end = path.find_first_of("\\/", start);
    if (end == std::string::npos) end = path.size();
    std::string name = path.substr(start, std::min(end, path.find_first_of(".:", start)) - start);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    for (char& c : name) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    const bool port = name.size() == 4 && (name.compare(0, 3, "COM") == 0 || name.compare(0, 3, "LPT") == 0) &&
                      name[3] >= '0' && name[3] <= '9';
    if (port) return true;
    for (const char* device : kDevices) {
      if (name == device) return true;
    }
    start = end + 1;
  }
  return false;
}

}  // namespace

std::optional<std::string> HiveKeyPath(const UserAccount& account, const std::string& path) {
  if (account.hivePath.empty()) return path;
  return JoinPath({account.hivePath, path}, layout::kKeyPathCapacity);
}

std::optional<std::string> ReadProgramsDirectory(Registry& registry, UserFolders& user, const UserAccount& account) {
  const ScopedKey shellFolders(registry, account.hiveRoot, HiveKeyPath(account, layout::kShellFolders), kKeyQueryValue);
  const auto directory = shellFolders.ReadText(layout::kPrograms, layout::kPathCapacity);
  if (!directory) return std::nullopt;
  if (!IsDriveLetterPath(*directory) || NamesDevice(*directory)) {
    user.Refused(*directory, IsDriveLetterPath(*directory) ? "names a device" : "not a folder on a drive letter");
    return std::nullopt;
  }
  if (!user.UserRightsHeld()) {
    user.Refused(*directory, "the user's own rights cannot be had");
    return std::nullopt;
  }
  auto final = user.FinalFolderPath(*directory);
  if (!final) return std::nullopt;  // no folder there, so nothing below it either
  const auto profile = user.ProfileFolder();
  if (!profile || !LiesBelow(*final, *profile)) {
    user.Refused(*directory, "not below the user's profile folder " + profile.value_or("(unknown)"));
    return std::nullopt;
  }
  // The long form from here on: the exact-path checks of each delete compare with it.
  return final;
}

bool LiesBelow(const std::string& path, const std::string& folder) {
  if (folder.empty() || path.size() <= folder.size() || path.compare(0, folder.size(), folder) != 0) return false;
  // Only a drive's root ends in its separator (a last byte 0x5C may be a
  // trail byte); the byte after the whole folder starts a character.
  const bool driveRoot = folder.size() == 3 && folder[1] == ':' && folder[2] == '\\';
  return driveRoot || path[folder.size()] == '\\';
}

bool IsPlainName(const CodePage& codePage, const std::string& name) {
  if (name.find_first_not_of(". ") == std::string::npos) return false;  // also the empty name
  // A trail byte may be 0x5C without being a separator.
  for (std::size_t i = 0, size = 0; i < name.size(); i += size) {
    size = codePage.CharacterSize(name, i);
    if (size == 1 && (name[i] == '\\' || name[i] == '/' || name[i] == ':')) return false;
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
