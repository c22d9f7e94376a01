#include "registry/registrations.h"

#include "registry/enumeration.h"
#include "registry/key_path.h"
#include "registry/scoped_key.h"

namespace tw {
namespace {

std::string Folded(const CodePage& codePage, std::string text) {
  codePage.FoldCase(text);
  return text;
}

}  // namespace

std::vector<Registration> Registrations(Registry& registry, const CodePage& codePage) {
  std::vector<Registration> found;
  const ScopedKey languages(registry, kHkeyLocalMachine, FamilyPath({layout::kInstall, layout::kLanguages}),
                            kKeyEnumerateSubKeys, ScopedKey::RefuseLinks{codePage});
  if (!languages.IsOpen()) return found;
  const std::string suffix = Folded(codePage, layout::kCounterSuffix);
  const std::string usage = Folded(codePage, layout::kUsageCtr);
  for (const std::string& language : CollectSubkeyNames(registry, languages.Handle(), layout::kKeyPathCapacity)) {
    const ScopedKey key(registry, languages.Handle(), language, kKeyQueryValue, ScopedKey::RefuseLinks{codePage});
    if (!key.IsOpen()) continue;
    for (const RegistryValue& value : CollectValues(registry, key.Handle(), layout::kKeyPathCapacity, layout::kCounterBytes)) {
      const std::string name = Folded(codePage, value.name);
      if (name.size() > suffix.size() && name != usage && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
        found.push_back({value.name.substr(0, value.name.size() - suffix.size()), language});
      }
    }
  }
  return found;
}

}  // namespace tw
