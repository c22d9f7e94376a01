#include "app/uninstall_app.h"
#include "registry/key_path.h"
#include "registry/layout.h"
#include "registry/scoped_key.h"
#include "registry/text.h"
#include "shell/help_directories.h"
#include "shell/start_menu_paths.h"

namespace tw {
namespace {

// Where the remaining product's copies of the two shared help files live.
struct SwapTargets {
  const char* beginHerePrefix;  // <help>\<prefix><suffix>.hlp
  const char* subdirectory;     // <help>\<subdirectory>\refbook<suffix>.hlp
};

SwapTargets TargetsFor(const std::string& remainingProduct) {
  if (remainingProduct == layout::kProdTWDLite) return {"twlite", "twlite"};
  return {"twlitc", "twc"};
}

}  // namespace

void UninstallApp::SwapShortcuts(const std::string& remainingProduct) {
  const char* component = productCode_ == layout::kProdTWDLite ? layout::kDictation : layout::kControl;
  const auto helpDirectory = ReadHelpDirectory(platform_.registry, component);
  const auto folderValue = FolderValueName(remainingProduct, variantLetter_);
  ScopedKey language(platform_.registry, kHkeyLocalMachine, LanguageKeyPath(languageCode_), kKeyQueryValue);
  const auto folderName = folderValue ? language.ReadText(folderValue->c_str(), layout::kPathCapacity) : std::nullopt;
  // Without both the link would point at a made-up file: the shortcuts are
  // better left as they are.
  if (!helpDirectory || !folderName) return;
  const SwapTargets targets = TargetsFor(remainingProduct);
  const std::string suffix = LanguageSuffix(platform_.codePage, languageCode_);
  const auto beginHere =
      JoinPath({*helpDirectory, std::string(targets.beginHerePrefix) + suffix + ".hlp"}, layout::kPathCapacity);
  const auto genRef = JoinPath({*helpDirectory, targets.subdirectory, "refbook" + suffix + ".hlp"}, layout::kPathCapacity);
  const auto genRefDirectory = JoinPath({*helpDirectory, targets.subdirectory}, layout::kPathCapacity);
  ForEachUser(platform_.user, [&](const UserAccount& account) {
    // Nor is a link written at a made-up place, or saved through a program folder that is a link.
    const auto programsDirectory = ReadProgramsDirectory(platform_.registry, platform_.user, account);
    if (!programsDirectory) return;
    const auto folderPath = ProgramFolderPath(platform_.codePage, *programsDirectory, *folderName);
    if (folderPath && IsLinkedFolder(platform_.files, *folderPath)) return;
    // A link path or target that does not fit a path buffer is passed over, and
    // so is a folder or link name that would lead out of the programs directory.
    const auto update = [&](const char* linkValue, const std::optional<std::string>& target,
                            const std::optional<std::string>& workingDirectory) {
      const auto linkName = language.ReadText(linkValue, layout::kPathCapacity);
      if (!linkName) return;
      const auto linkPath = ShortcutFilePath(platform_.codePage, *programsDirectory, *folderName, *linkName);
      if (!linkPath || !target || !workingDirectory) return;
      UpdateShortcut(*target, *linkPath, *workingDirectory);
    };
    update(layout::kSwapBeginHere, beginHere, helpDirectory);
    update(layout::kSwapGenRef, genRef, genRefDirectory);
  });
}

ComResult UninstallApp::UpdateShortcut(const std::string& targetPath, const std::string& linkPath,
                                       const std::string& workingDirectory) {
  return platform_.links.Update(targetPath.c_str(), linkPath.c_str(), workingDirectory.c_str());
}

}  // namespace tw
