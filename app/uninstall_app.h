// The uninstall front end: one object that confirms, reads its command line,
// releases or removes what the product shares with the rest of the family,
// and starts the product's real uninstaller.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/run_outcome.h"
#include "platform/platform.h"
#include "registry/counters.h"
#include "registry/key_tree.h"
#include "registry/ledger.h"
#include "shell/directory_tree.h"

namespace tw {

class UninstallApp {
 public:
  // commandLine is the text after the program name. refuseUnregistered (a
  // run with switches): a product with no install for the language and no
  // finished removal changes nothing and starts nothing.
  UninstallApp(const Platform& platform, std::string commandLine, InstanceHandle instance,
               bool refuseUnregistered = false);

  // Start-up: the whole run. Always false: no message loop follows; what
  // the run came to is Outcome().
  bool RunUninstall();
  const RunOutcome& Outcome() const { return outcome_; }

  // Driver
  bool ParseCommandLine();
  void CleanUpProduct();
  void LaunchUninstaller();

  // Registry primitives (registry/counters.h, registry/key_tree.h)
  std::int32_t ReadCounter(RegKey root, const std::string& path, const char* valueName) {
    return tw::ReadCounter(platform_.registry, root, path, valueName);
  }
  void DecrementCounter(RegKey root, const std::string& path, const char* valueName) {
    tw::DecrementCounter(platform_.registry, root, path, valueName);
  }
  void DeleteKeyTree(RegKey root, const std::string& path) {
    tw::DeleteKeyTree(platform_.registry, platform_.codePage, root, path);
  }
  // Through this removal's ledger.
  bool ReleaseCounter(RegKey root, const std::string& path, const char* valueName, std::string* lastUse = nullptr) {
    return tw::ReleaseCounter(platform_.registry, ledger_, root, path, valueName, lastUse);
  }

  // Shared-install release
  void BuildComponentList();
  void ReleaseComponentLanguages();
  void ReleaseComponents();
  void ReleaseProductEntry();
  void ReleaseEngineData();

  // Start-menu shortcuts and folders. ReleaseShortcuts returns 0 when the
  // product's program folder is no longer used, 1 otherwise, and leaves the
  // folder name in folderName.
  int ReleaseShortcuts(std::string& folderName);
  void DeleteShortcut(const std::string& folderName, const std::string& shortcutName);
  void RemoveProgramFolder(const std::string& folderName);
  void DeleteDirectoryTree(const std::string& path) { tw::DeleteDirectoryTree(platform_.files, platform_.codePage, path); }

  // Help-file registrations
  void RemoveHelpRegistrations();
  void RepointHelpFiles(const std::string& subdirectory);

  // Shortcut swap
  void SwapShortcuts(const std::string& remainingProduct);
  ComResult UpdateShortcut(const std::string& targetPath, const std::string& linkPath,
                           const std::string& workingDirectory);

  // Sound events and application paths
  void RemoveSoundEvents();
  void RemoveAppPaths();

  const std::string& ProductCode() const { return productCode_; }
  const std::string& VariantLetter() const { return variantLetter_; }
  const std::string& LanguageCode() const { return languageCode_; }
  const std::string& UninstallerPath() const { return uninstallerPath_; }
  const std::vector<std::string>& ComponentList() const { return componentList_; }

 private:
  void FinishInterrupted(const Ledger::Removal& other);

  Platform platform_;
  std::string commandLine_;
  InstanceHandle instance_;

  std::string productCode_;
  std::string variantLetter_;
  std::string languageCode_;
  std::string uninstallerPath_;
  std::string uninstallerArguments_;
  std::vector<std::string> componentList_;
  bool refuseUnregistered_;
  // False in the run that finishes another's removal for this one.
  bool finishesOthers_ = true;
  RunOutcome outcome_;
  Ledger ledger_;
};

}  // namespace tw
