#include <vector>

#include "app/uninstall_app.h"
#include "registry/key_path.h"
#include "registry/layout.h"
#include "registry/scoped_key.h"
#include "registry/text.h"

namespace tw {
namespace {

// The engine's data sets that a variant installs: "C" the navigation data,
// "D" the dictation data, "N" none, any other variant both.
std::vector<const char*> DataSetsOf(const std::string& variantLetter) {
  if (variantLetter == "N") return {};
  if (variantLetter == "C") return {layout::kNavData};
  if (variantLetter == "D") return {layout::kDictData};
  return {layout::kNavData, layout::kDictData};
}

}  // namespace

void UninstallApp::ReleaseEngineData() {
  const auto dataSets = DataSetsOf(variantLetter_);
  if (dataSets.empty()) return;
  const auto engineLanguage = FamilyPath({layout::kEngine, layout::kLanguages, languageCode_});
  if (!engineLanguage) return;
  for (const char* dataSet : dataSets) {
    const auto counterName = SuffixedName(dataSet, layout::kCounterSuffix);
    if (!counterName || !ReleaseCounter(kHkeyLocalMachine, *engineLanguage, counterName->c_str())) continue;
    {
      // A released data set keeps its counter and flag, both zero, so that the
      // presence tests find it absent.
      ScopedKey key(platform_.registry, kHkeyLocalMachine, *engineLanguage, kKeyAllAccess);
      if (key.IsOpen()) {
        key.SetDword(counterName->c_str(), 0);
        const std::uint8_t notInstalled = 0;
        platform_.registry.SetValue(key.Handle(), dataSet, kRegBinary, &notInstalled, 1);
      }
    }
    const bool dictation = std::string(dataSet) == layout::kDictData;
    auto userName = SuffixedName(dictation ? "cstart" : "nav", LanguageSuffix(platform_.codePage, languageCode_), layout::kEngineUserCapacity);
    if (!userName) continue;
    LowercaseText(platform_.codePage, *userName);
    platform_.engine.UninstallSpeechUser(0, instance_, languageCode_.c_str(), userName->c_str());
  }
}

}  // namespace tw
