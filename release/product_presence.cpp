#include "release/product_presence.h"

#include "registry/key_path.h"
#include "registry/layout.h"
#include "registry/scoped_key.h"
#include "registry/text.h"

namespace tw {
namespace {

constexpr const char* kEngineReleasePrefix = "4.0";
constexpr const char* kBundledControlRelease = "3.0.0.0";

enum class Fallback { kAbsent, kBundledControl };

bool ControlIsBundledRelease(Registry& registry, const CodePage& codePage) {
  ScopedKey version(registry, kHkeyLocalMachine, FamilyPath({layout::kControl, layout::kVersion}), kKeyQueryValue);
  const auto release = version.ReadText(layout::kRelease, layout::kControlReleaseCapacity);
  return release && CompareTextNoCase(codePage, release->c_str(), kBundledControlRelease) == 0;
}

int LanguageHasProduct(Registry& registry, const CodePage& codePage, const std::string& languageCode,
                       int engineData, const char* product, Fallback fallback) {
  if (!HasEngineLanguageData(registry, codePage, languageCode, engineData)) return 0;
  ScopedKey language(registry, kHkeyLocalMachine, LanguageKeyPath(ShortLanguageCode(codePage, languageCode)),
                     kKeyQueryValue);
  if (!language.IsOpen()) return 0;
  if (language.ReadBytes(product, layout::kPresenceCapacity)) return 1;
  return fallback == Fallback::kBundledControl && ControlIsBundledRelease(registry, codePage) ? 1 : 0;
}

}  // namespace

int HasEngineLanguageData(Registry& registry, const CodePage& codePage, const std::string& languageCode, int kind) {
  const char* flag = kind == kNavigationData ? layout::kNavData : kind == kDictationData ? layout::kDictData : nullptr;
  if (!flag) return 0;
  ScopedKey version(registry, kHkeyLocalMachine, FamilyPath({layout::kEngine, layout::kVersion}), kKeyQueryValue);
  const auto release = version.ReadText(layout::kRelease, layout::kEngineReleaseCapacity);
  if (!release || release->compare(0, 3, kEngineReleasePrefix) != 0) return 0;

  ScopedKey engineLanguage(registry, kHkeyLocalMachine,
                           FamilyPath({layout::kEngine, layout::kLanguages, ShortLanguageCode(codePage, languageCode)}),
                           kKeyQueryValue);
  const auto data = engineLanguage.ReadBytes(flag, layout::kFlagCapacity);
  return data && !data->empty() && (*data)[0] != 0 ? 1 : 0;
}

int LanguageHasProdTWDLite(Registry& registry, const CodePage& codePage, const std::string& languageCode) {
  return LanguageHasProduct(registry, codePage, languageCode, kDictationData, layout::kProdTWDLite, Fallback::kAbsent);
}

int LanguageHasProdTWC(Registry& registry, const CodePage& codePage, const std::string& languageCode) {
  return LanguageHasProduct(registry, codePage, languageCode, kNavigationData, layout::kProdTWC, Fallback::kAbsent);
}

int LanguageHasProdTWD(Registry& registry, const CodePage& codePage, const std::string& languageCode) {
  return LanguageHasProduct(registry, codePage, languageCode, kNavigationData, layout::kProdTWD,
                            Fallback::kBundledControl);
}

int LanguageHasProdRun(Registry& registry, const CodePage& codePage, const std::string& languageCode) {
  return LanguageHasProduct(registry, codePage, languageCode, kNavigationData, layout::kProdRun, Fallback::kAbsent);
}

}  // namespace tw
