#include <algorithm>
#include <string_view>

#include "app/uninstall_app.h"
#include "registry/enumeration.h"
#include "registry/key_path.h"
#include "registry/layout.h"
#include "registry/scoped_key.h"
#include "registry/text.h"
#include "shell/start_menu_paths.h"

namespace tw {
namespace {

// ProdTWD keeps only the shortcuts of the components it lists; the other
// products own every shortcut they recorded.
bool BelongsToProduct(const std::string& component, const std::string& productCode,
                      const std::vector<std::string>& componentList) {
  if (productCode != layout::kProdTWD) return true;
  return std::find(componentList.begin(), componentList.end(), component) != componentList.end();
}

// The product's shortcut list "<product code>Objs", read from its open key.
std::vector<std::string> ProductShortcuts(Registry& registry, const ScopedKey& objs, const std::string& productCode,
                                          const std::vector<std::string>& componentList) {
  std::vector<std::string> shortcuts;
  if (!objs.IsOpen()) return shortcuts;
  for (const RegistryValue& value :
       CollectValues(registry, objs.Handle(), layout::kShortcutNameCapacity, layout::kComponentNameCapacity)) {
    if (BelongsToProduct(value.Text(), productCode, componentList)) shortcuts.push_back(value.name);
  }
  return shortcuts;
}


// Whether a language other than ours names the same default program folder.
// Languages that cannot be looked at count as using it, and so does a list
// of languages that broke off part way: the folder stays.
bool OtherLanguageUsesFolder(Registry& registry, const CodePage& codePage, const std::string& languageCode,
                             const std::string& folderName) {
  const ScopedKey languages(registry, kHkeyLocalMachine, FamilyPath({layout::kInstall, layout::kLanguages}),
                            kKeyAllAccess);
  if (!languages.IsOpen()) return true;
  // Names as long as the registry allows: a longer language code is still a language.
  bool complete = false;
  const std::vector<std::string> names =
      CollectSubkeyNames(registry, languages.Handle(), layout::kKeyPathCapacity, &complete);
  if (!complete) return true;
  for (const std::string& name : names) {
    if (name == languageCode) continue;
    const ScopedKey other(registry, languages.Handle(), name, kKeyQueryValue);
    const auto otherFolder = other.ReadText(layout::kFolderName, layout::kPathCapacity);
    if (otherFolder && CompareTextNoCase(codePage, otherFolder->c_str(), folderName.c_str()) == 0) return true;
  }
  return false;
}

}  // namespace

int UninstallApp::ReleaseShortcuts(std::string& folderName) {
  folderName.clear();
  Registry& registry = platform_.registry;
  const auto objsName = SuffixedName(productCode_, layout::kObjsSuffix, layout::kKeyPathCapacity);
  ScopedKey objs(registry, kHkeyLocalMachine,
                 objsName ? FamilyPath({layout::kInstall, layout::kLanguages, languageCode_, *objsName}) : std::nullopt,
                 kKeyAllAccess, ScopedKey::RefuseLinks{platform_.codePage});
  const std::vector<std::string> shortcuts = ProductShortcuts(registry, objs, productCode_, componentList_);

  const ScopedKey language(registry, kHkeyLocalMachine, LanguageKeyPath(languageCode_), kKeyAllAccess);
  const auto folderValueName = FolderValueName(productCode_, variantLetter_);
  // An empty folder value names no folder: its counter key would be "Folders" itself.
  const auto folder = folderValueName ? language.ReadText(folderValueName->c_str(), layout::kPathCapacity) : std::nullopt;
  bool folderIsFree = false;
  if (folder && !folder->empty()) {
    folderName = *folder;
    const auto countersPath = FamilyPath({layout::kInstall, layout::kLanguages, languageCode_, layout::kFolders, *folder});
    ScopedKey counters(registry, kHkeyLocalMachine, countersPath, kKeyAllAccess, ScopedKey::RefuseLinks{platform_.codePage});
    // The counters' key goes when the folder is free: marked first, so that
    // a run cut short before the folder went still finds it free.
    const std::string freed = ledger_.Identify(kHkeyLocalMachine, countersPath.value_or(""), "");
    if (!counters.IsOpen()) folderIsFree = ledger_.MarkOf(freed) == Ledger::Mark::kLastUser;
    if (counters.IsOpen()) {
      for (const std::string& shortcut : shortcuts) {
        // The file before its counter: a run cut between them finds the counter and deletes again.
        if (ReleaseCounter(kHkeyLocalMachine, *countersPath, shortcut.c_str())) {
          DeleteShortcut(*folder, shortcut);
          counters.DeleteValue(shortcut.c_str());
        }
      }
      folderIsFree = FirstValueStatus(registry, counters.Handle()) == kErrorNoMoreItems;
      if (folderIsFree && ledger_.Record(freed, Ledger::Mark::kLastUser)) counters.DeleteSelf();
    }
  }
  // The list goes once its shortcuts are released: a run cut short before
  // finds it again and finishes them.
  objs.DeleteSelf();
  if (folderName.empty()) folderName = language.ReadText(layout::kFolderName, layout::kPathCapacity).value_or("");
  if (folderIsFree && OtherLanguageUsesFolder(registry, platform_.codePage, languageCode_, *folder)) folderIsFree = false;
  return folderIsFree ? 0 : 1;
}

// In every user's start menu the run reaches.
void UninstallApp::DeleteShortcut(const std::string& folderName, const std::string& shortcutName) {
  ForEachUser(platform_.user, [&](const UserAccount& account) {
    const auto programsDirectory = ReadProgramsDirectory(platform_.registry, platform_.user, account);
    if (!programsDirectory) return;
    // A name that is not one plain component would reach outside the folder.
    const auto path = ShortcutFilePath(platform_.codePage, *programsDirectory, folderName, shortcutName);
    // Nor may the folder be a link: the file of that name wherever it leads would go.
    const auto folder = ProgramFolderPath(platform_.codePage, *programsDirectory, folderName);
    if (path && folder && !IsLinkedFolder(platform_.files, *folder)) platform_.files.RemoveFile(path->c_str());
  });
}

}  // namespace tw
