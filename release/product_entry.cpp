#include <algorithm>
#include <iterator>

#include "app/uninstall_app.h"
#include "registry/key_path.h"
#include "registry/layout.h"
#include "registry/scoped_key.h"
#include "release/product_presence.h"

namespace tw {
namespace {

// The only products whose entries are released, compared exactly.
constexpr const char* kProductTable[] = {layout::kProdTWD, layout::kProdTWDLite, layout::kProdTWC, layout::kProdRun};

bool IsKnownProduct(const std::string& productCode) {
  return std::any_of(std::begin(kProductTable), std::end(kProductTable),
                     [&](const char* known) { return productCode == known; });
}

}  // namespace

void UninstallApp::ReleaseProductEntry() {
  if (!IsKnownProduct(productCode_)) return;
  const auto languageKey = LanguageKeyPath(languageCode_);
  const auto counterName = SuffixedName(productCode_, layout::kCounterSuffix);
  if (!languageKey || !counterName) return;

  // The counter goes first of all below: marked, a run cut short after it
  // still finishes the rest; settled at the end, so that a run cut short
  // later does not hand over again what the steps after this one changed.
  std::string lastUse;
  if (!ReleaseCounter(kHkeyLocalMachine, *languageKey, counterName->c_str(), &lastUse)) return;

  {
    ScopedKey language(platform_.registry, kHkeyLocalMachine, *languageKey, kKeyAllAccess);
    language.DeleteValue(counterName->c_str());
    language.DeleteValue(productCode_.c_str());
  }
  if (productCode_ == layout::kProdTWD || productCode_ == layout::kProdTWDLite) RemoveSoundEvents();

  // Each test reads the registry afresh: the steps before it may have changed it.
  Registry& registry = platform_.registry;
  const CodePage& codePage = platform_.codePage;
  const auto stays = [&](int (*test)(Registry&, const CodePage&, const std::string&)) {
    return test(registry, codePage, languageCode_) != 0;
  };
  if (productCode_ == layout::kProdTWDLite) {
    if (stays(LanguageHasProdTWC) && !stays(LanguageHasProdRun) && !stays(LanguageHasProdTWD)) RepointHelpFiles("twc");
    if (stays(LanguageHasProdTWC) && !stays(LanguageHasProdTWD)) SwapShortcuts(layout::kProdTWC);
  } else if (productCode_ == layout::kProdTWC) {
    if (stays(LanguageHasProdTWDLite) && !stays(LanguageHasProdRun) && !stays(LanguageHasProdTWD)) {
      RepointHelpFiles("twlite");
    }
    if (stays(LanguageHasProdTWDLite) && !stays(LanguageHasProdTWD)) SwapShortcuts(layout::kProdTWDLite);
  }

  std::string folderName;
  if (ReleaseShortcuts(folderName) == 0) RemoveProgramFolder(folderName);

  // Last: the swap and the shortcut release above still read the folder value.
  const auto folderValue = FolderValueName(productCode_, variantLetter_);
  ScopedKey language(platform_.registry, kHkeyLocalMachine, *languageKey, kKeySetValue);
  if (folderValue) language.DeleteValue(folderValue->c_str());
  ledger_.Record(lastUse, Ledger::Mark::kDone);
}

}  // namespace tw
