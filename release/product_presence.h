// Whether a product of the family, or the engine data it needs, is installed
// for a language. Each test takes the whole language code and looks at the
// keys of its short form (first 8 characters); 1 when present, else 0.
#pragma once

#include <string>

#include "platform/code_page.h"
#include "platform/registry.h"

namespace tw {

constexpr int kNavigationData = 1;
constexpr int kDictationData = 2;

// The engine's flag for the data kind (kNavigationData or kDictationData),
// counted only with a 4.0 engine. A flag value without data counts as absent.
int HasEngineLanguageData(Registry& registry, const CodePage& codePage, const std::string& languageCode, int kind);

int LanguageHasProdTWDLite(Registry& registry, const CodePage& codePage, const std::string& languageCode);
int LanguageHasProdTWC(Registry& registry, const CodePage& codePage, const std::string& languageCode);
// Also present, without its own value, beside a control component of release 3.0.0.0.
int LanguageHasProdTWD(Registry& registry, const CodePage& codePage, const std::string& languageCode);
int LanguageHasProdRun(Registry& registry, const CodePage& codePage, const std::string& languageCode);

}  // namespace tw
