#include "app/uninstall_app.h"
#include "registry/key_path.h"
#include "registry/layout.h"
#include "registry/scoped_key.h"
#include "registry/text.h"
#include "shell/help_directories.h"

namespace tw {
namespace {

constexpr std::uint32_t kFolderValueNameCapacity = 40;

// Where the remaining product's copies of the two shared help files live.
struct SwapTargets {
  const char* beginHerePrefix;  // <help>\<prefix><suffix>.hlp
  const char* subdirectory;     // <help>\<subdirectory>\refbook<suffix>.hlp
};

SwapTargets TargetsFor(const std::string& remainingProduct) {
  if (remainingProduct == layout::kProdTWDLite) return {"twlite", "twlite"};
  return {"twlitc", "twc"};
}

// An empty text read from the registry names no place.
std::optional<std::string> NonEmpty(std::optional<std::string> text) {
  if (text && text->empty()) return std::nullopt;
  return text;
}

std::optional<std::string> ReadProgramsDirectory(Registry& registry) {
  ScopedKey shellFolders(registry, kHkeyCurrentUser, std::string(layout::kShellFolders), kKeyQueryValue);
  return NonEmpty(shellFolders.ReadText(layout::kPrograms, layout::kPathCapacity));
}

}  // namespace

void UninstallApp::SwapShortcuts(const std::string& remainingProduct) {
  const char* component = productCode_ == layout::kProdTWDLite ? layout::kDictation : layout::kControl;
  const auto helpDirectory = ReadHelpDirectory(platform_.registry, component);
  const auto folderValue = SuffixedName(remainingProduct, "Folder", kFolderValueNameCapacity);
  ScopedKey language(platform_.registry, kHkeyLocalMachine, LanguageKeyPath(languageCode_), kKeyQueryValue);
  const auto folderName =
      folderValue ? NonEmpty(language.ReadText(folderValue->c_str(), layout::kPathCapacity)) : std::nullopt;
  const auto programsDirectory = folderName ? ReadProgramsDirectory(platform_.registry) : std::nullopt;
  // Without all three the link would be written at a made-up place and point
  // at a made-up file: the shortcuts are better left as they are.
  if (!helpDirectory || !folderName || !programsDirectory) return;

  const SwapTargets targets = TargetsFor(remainingProduct);
  const std::string suffix = LanguageSuffix(languageCode_);
  const std::string programsFolder = *programsDirectory + '\\';
  // A link path or target that does not fit a path buffer is passed over.
  const auto update = [&](const char* linkValue, const std::optional<std::string>& target,
                          const std::optional<std::string>& workingDirectory) {
    const auto linkName = language.ReadText(linkValue, layout::kPathCapacity);
    if (!linkName) return;
    const auto linkPath = SuffixedName(programsFolder, *folderName + '\\' + *linkName + ".lnk");
    if (!linkPath || !target || !workingDirectory) return;
    UpdateShortcut(*target, *linkPath, *workingDirectory);
  };
  update(layout::kSwapBeginHere,
         JoinPath({*helpDirectory, std::string(targets.beginHerePrefix) + suffix + ".hlp"}, layout::kPathCapacity),
         helpDirectory);
  update(layout::kSwapGenRef,
         JoinPath({*helpDirectory, targets.subdirectory, "refbook" + suffix + ".hlp"}, layout::kPathCapacity),
         JoinPath({*helpDirectory, targets.subdirectory}, layout::kPathCapacity));
}

ComResult UninstallApp::UpdateShortcut(const std::string& targetPath, const std::string& linkPath,
                                       const std::string& workingDirectory) {
  return platform_.links.Update(targetPath.c_str(), linkPath.c_str(), workingDirectory.c_str());
}

}  // namespace tw
