#include "app/uninstall_app.h"
#include "registry/key_path.h"
#include "registry/layout.h"
#include "registry/scoped_key.h"
#include "shell/directory_tree.h"
#include "shell/start_menu_paths.h"

namespace tw {

void UninstallApp::RemoveProgramFolder(const std::string& folderName) {
  std::string name = folderName;
  if (name.empty()) {
    const ScopedKey language(platform_.registry, kHkeyLocalMachine, LanguageKeyPath(languageCode_), kKeyQueryValue);
    auto defaultFolder = language.ReadText(layout::kFolderName, layout::kPathCapacity);
    if (!defaultFolder) return;
    name = *defaultFolder;
  }
  ForEachUser(platform_.user, [&](const UserAccount& account) {
    const auto programsDirectory = ReadProgramsDirectory(platform_.registry, platform_.user, account);
    if (!programsDirectory) return;
    // An empty or odd name never makes the programs directory, or anything above it, the folder.
    if (auto path = ProgramFolderPath(platform_.codePage, *programsDirectory, name)) DeleteDirectoryTree(*path);
  });
}

}  // namespace tw
