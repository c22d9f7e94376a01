#include "app/uninstall_app.h"
#include "registry/key_path.h"
#include "registry/layout.h"
#include "registry/scoped_key.h"
#include "registry/blank_separated.h"

namespace tw {
namespace {

const std::vector<std::string>& FixedComponents(const std::string& productCode) {
  static const std::vector<std::string> withoutDictation = {layout::kInstall, layout::kControl, layout::kEnroll,
                                                            layout::kHelp, layout::kEngine};
  static const std::vector<std::string> withDictation = {layout::kInstall, layout::kControl, layout::kDictation,
                                                         layout::kEnroll,  layout::kHelp,    layout::kEngine};
  return productCode == layout::kProdTWC ? withoutDictation : withDictation;
}

}  // namespace

void UninstallApp::BuildComponentList() {
  // A removal of ProdTWD cut short is finished with the list it began with:
  // the key that the list is read from may have gone with it.
  if (const auto& recorded = ledger_.RecordedComponents()) {
    componentList_.insert(componentList_.end(), recorded->begin(), recorded->end());
    return;
  }
  if (productCode_ != layout::kProdTWD) {
    const auto& components = FixedComponents(productCode_);
    componentList_.insert(componentList_.end(), components.begin(), components.end());
  } else {
    // ProdTWD's setup records the components it installed. A value that fills
    // the whole buffer without a terminator is taken up to the buffer's end.
    const ScopedKey languageKey(platform_.registry, kHkeyLocalMachine, LanguageKeyPath(languageCode_), kKeyQueryValue);
    if (auto list = languageKey.ReadText(layout::kProdTWDList, layout::kComponentListCapacity)) {
      for (std::string& word : SplitAtBlanks(*list)) componentList_.push_back(std::move(word));
    }
    // Read from the registry, it is recorded; a fixed list comes back the same.
    ledger_.RecordComponents(componentList_);
  }
}

void UninstallApp::ReleaseComponentLanguages() {
  std::string folderName;
  const std::size_t count = componentList_.size();
  for (std::size_t i = 0; i < count; ++i) {
    const std::string& component = componentList_[i];
    const auto path = FamilyPath({component, layout::kLanguages, languageCode_});
    if (!path || !ReleaseCounter(kHkeyLocalMachine, *path, layout::kUsageCtr)) continue;
    // The last product for this language: its start-menu entries go before
    // the language key that records them.
    if (component == layout::kInstall && ReleaseShortcuts(folderName) == 0) RemoveProgramFolder(folderName);
    DeleteKeyTree(kHkeyLocalMachine, *path);
  }
}

void UninstallApp::ReleaseComponents() {
  const std::size_t count = componentList_.size();
  for (std::size_t i = 0; i < count; ++i) {
    const std::string& component = componentList_[i];
    // Install and Engine stay until the last product of the family goes,
    // with the full removal.
    if (component == layout::kInstall || component == layout::kEngine) continue;
    const auto path = FamilyPath({component});
    if (path && ReleaseCounter(kHkeyLocalMachine, *path, layout::kUsageCtr)) DeleteKeyTree(kHkeyLocalMachine, *path);
  }
}

}  // namespace tw
