#include "registry/ledger_values.h"

namespace tw::ledger {

bool Exists(Registry& registry, RegKey parent, const char* name) {
  RegKey key = 0;
  const Status status = registry.OpenKey(parent, name, kKeyQueryValue | kKeyOpenLink, &key);
  if (status == kErrorSuccess) registry.CloseKey(key);
  return status != kErrorFileNotFound;
}

bool Missing(Registry& registry, RegKey key, const char* name) {
  std::uint32_t size = 0;
  return registry.QueryValue(key, name, nullptr, nullptr, &size) == kErrorFileNotFound;
}

bool CreateKey(Registry& registry, RegKey parent, const char* name) {
  RegKey created = 0;
  if (registry.CreateKey(parent, name, &created) != kErrorSuccess) return false;
  registry.CloseKey(created);
  return true;
}

std::optional<std::uint32_t> Count(const std::string& word) {
  if (word.empty() || word.size() > 6 || word.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  std::uint32_t count = 0;
  for (char digit : word) count = count * 10 + static_cast<std::uint32_t>(digit - '0');
  return count;
}

}  // namespace tw::ledger
