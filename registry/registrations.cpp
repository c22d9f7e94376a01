#include "registry/registrations.h"

#include <cstring>

#include "registry/counters.h"
#include "registry/enumeration.h"
#include "registry/key_path.h"
#include "registry/layout.h"
#include "registry/text.h"

namespace tw {
namespace {

constexpr std::size_t kSuffixLength = 3;  // "Ctr"

// The value names of an open key; complete is false unless the walk ended
// where the key's values end. A name that holds a NUL character is passed
// over: cut there, it would name another value.
std::vector<std::string> ValueNames(Registry& registry, RegKey key, bool& complete) {
  std::vector<std::string> names;
  char name[layout::kKeyPathCapacity];
  for (std::uint32_t index = 0;; ++index) {
    std::uint32_t size = sizeof name;
    const Status status = registry.EnumValue(key, index, name, &size, nullptr, nullptr, nullptr);
    if (status == kErrorSuccess) {
      if (std::memchr(name, '\0', size) == nullptr) names.emplace_back(name, size);
    } else if (status != kErrorMoreData) {
      if (status != kErrorNoMoreItems) complete = false;
      return names;
    }
  }
}

// The product a value name registers, or nothing: "<product>Ctr" beside the
// language's own "UsageCtr".
std::optional<std::string> RegisteredProduct(const CodePage& codePage, const std::string& valueName) {
  if (valueName.size() <= kSuffixLength) return std::nullopt;
  const std::string suffix = valueName.substr(valueName.size() - kSuffixLength);
  if (CompareTextNoCase(codePage, suffix.c_str(), layout::kCounterSuffix) != 0 ||
      CompareTextNoCase(codePage, valueName.c_str(), layout::kUsageCtr) == 0) {
    return std::nullopt;
  }
  return valueName.substr(0, valueName.size() - kSuffixLength);
}

}  // namespace

Registrations ReadRegistrations(Registry& registry, const CodePage& codePage) {
  Registrations result;
  const auto languagesPath = FamilyPath({layout::kInstall, layout::kLanguages});
  RegKey languages = 0;
  const Status opened = registry.OpenKey(kHkeyLocalMachine, languagesPath->c_str(), kKeyRead, &languages);
  if (opened != kErrorSuccess) {
    result.complete = opened == kErrorFileNotFound;
    return result;
  }
  const std::vector<std::string> languageNames =
      CollectSubkeyNames(registry, languages, layout::kKeyPathCapacity, &result.complete);
  for (const std::string& language : languageNames) {
    const auto path = FamilyPath({layout::kInstall, layout::kLanguages, language});
    RegKey key = 0;
    if (!path || registry.OpenKey(kHkeyLocalMachine, path->c_str(), kKeyQueryValue, &key) != kErrorSuccess) {
      result.complete = false;
      continue;
    }
    for (const std::string& name : ValueNames(registry, key, result.complete)) {
      if (const auto product = RegisteredProduct(codePage, name)) result.list.push_back({*product, language});
    }
    registry.CloseKey(key);
  }
  registry.CloseKey(languages);
  return result;
}

Registrations RegistrationsStaying(Registry& registry, const CodePage& codePage, const std::string& productCode,
                                   const std::string& languageCode) {
  Registrations result = ReadRegistrations(registry, codePage);
  std::vector<Registration> staying;
  for (Registration& registration : result.list) {
    const bool own = CompareTextNoCase(codePage, registration.language.c_str(), languageCode.c_str()) == 0 &&
                     CompareTextNoCase(codePage, registration.product.c_str(), productCode.c_str()) == 0;
    // The removal's own install stays only when it was installed twice.
    const auto path = FamilyPath({layout::kInstall, layout::kLanguages, registration.language});
    const std::string counter = registration.product + layout::kCounterSuffix;
    if (!own || (path && ReadCounter(registry, kHkeyLocalMachine, *path, counter.c_str()) >= 2)) {
      staying.push_back(std::move(registration));
    }
  }
  result.list = std::move(staying);
  return result;
}

}  // namespace tw
