#include <vector>

#include "app/uninstall_app.h"
#include "registry/enumeration.h"
#include "registry/key_path.h"
#include "registry/layout.h"
#include "registry/scoped_key.h"
#include "registry/text.h"
#include "shell/file_search.h"
#include "shell/help_directories.h"

namespace tw {
namespace {

constexpr const char* kTwcSubdirectory = "twc";
constexpr const char* kTwliteSubdirectory = "twlite";
constexpr const char* kCombinedSubdirectory = "combined";

// "<directory>\<name>", or nothing when it would not fit a path buffer.
std::optional<std::string> PathBelow(const std::string& directory, const std::string& name) {
  return JoinPath({directory, name}, layout::kPathCapacity);
}

// The directories whose registrations go, in the order they are compared.
// A product directory too long for a path is left out: nothing can point to it.
std::vector<std::string> FamilyHelpDirectories(const HelpDirectories& help) {
  std::vector<std::string> directories{help.main};
  if (help.differ) directories.push_back(*help.control);
  const std::string& twcBase = help.differ ? *help.control : help.main;
  for (auto product : {PathBelow(twcBase, kTwcSubdirectory), PathBelow(help.main, kTwliteSubdirectory),
                       PathBelow(help.main, kCombinedSubdirectory)}) {
    if (product) directories.push_back(*product);
  }
  return directories;
}

// Lower-cased names of the files in directory whose names end in
// <suffix><extension>.
std::vector<std::string> FindLowercaseNames(FileSystem& files, const CodePage& codePage, const std::string& directory,
                                            const std::string& suffix, const char* extension) {
  const auto pattern = PathBelow(directory, "*" + suffix + extension);
  if (!pattern) return {};
  std::vector<std::string> names = FindNames(files, codePage, *pattern);
  for (std::string& name : names) LowercaseText(codePage, name);
  return names;
}

}  // namespace

void UninstallApp::RemoveHelpRegistrations() {
  const auto help = ReadHelpDirectories(platform_.registry, platform_.codePage);
  if (!help) return;
  ScopedKey registrations(platform_.registry, kHkeyLocalMachine, std::string(layout::kHelpRegistrations),
                          kKeyAllAccess, ScopedKey::RefuseLinks{platform_.codePage});
  if (!registrations.IsOpen()) return;

  const std::vector<std::string> familyDirectories = FamilyHelpDirectories(*help);
  std::vector<std::string> doomed;
  for (const RegistryValue& value : CollectValues(platform_.registry, registrations.Handle(),
                                                  layout::kRegistrationNameCapacity, layout::kPathCapacity)) {
    const std::string directory = value.Text();
    for (const std::string& family : familyDirectories) {
      if (CompareTextNoCase(platform_.codePage, directory.c_str(), family.c_str()) == 0) {
        doomed.push_back(value.name);
        break;
      }
    }
  }
  for (const std::string& name : doomed) registrations.DeleteValue(name.c_str());
}

void UninstallApp::RepointHelpFiles(const std::string& subdirectory) {
  const auto help = ReadHelpDirectories(platform_.registry, platform_.codePage);
  if (!help) return;
  const std::string& base = help->differ && productCode_ == layout::kProdTWDLite ? *help->control : help->main;
  const auto productDirectory = PathBelow(base, subdirectory);
  if (!productDirectory) return;

  const std::string suffix = LanguageSuffix(platform_.codePage, languageCode_);
  std::vector<std::string> fileNames =
      FindLowercaseNames(platform_.files, platform_.codePage, *productDirectory, suffix, ".hlp");
  // Contents files alone are no reason to register anything.
  if (fileNames.empty()) return;
  for (std::string& name : FindLowercaseNames(platform_.files, platform_.codePage, *productDirectory, suffix, ".cnt")) {
    fileNames.push_back(std::move(name));
  }

  ScopedKey registrations(platform_.registry, kHkeyLocalMachine, std::string(layout::kHelpRegistrations),
                          kKeySetValue, ScopedKey::RefuseLinks{platform_.codePage});
  if (!registrations.IsOpen()) return;
  for (const std::string& name : fileNames) registrations.SetText(name.c_str(), *productDirectory);
}

}  // namespace tw
