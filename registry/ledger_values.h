// The names and words of the ledger's values, shared by what writes and
// what reads them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/registry.h"

namespace tw::ledger {

constexpr const char* kFormat = "2";
constexpr const char* kChoice = "Choice";
constexpr const char* kComponents = "Components";
constexpr const char* kRecords = "Records";
constexpr const char* kReleased = "Released";
constexpr AccessMask kLedgerAccess = kKeyQueryValue | kKeySetValue | kKeyEnumerateSubKeys | kKeyCreateSubKey;
// A choice and its registrations, a component list: far more than any
// removal needs. The older format's entries were kept below this too.
constexpr std::uint32_t kTextCapacity = 65536;
// A mark: "d <hash> <checksum>" and a little room.
constexpr std::uint32_t kMarkCapacity = 64;

inline const char* ChoiceWord(bool shared) { return shared ? "shared" : "full"; }

// Whether parent has a subkey of that name, whatever it is (a link too).
bool Exists(Registry& registry, RegKey parent, const char* name);
inline bool Exists(Registry& registry, RegKey parent, const std::string& name) {
  return Exists(registry, parent, name.c_str());
}
// Whether the key surely has no value of that name: a read that failed for
// another reason may have missed one.
bool Missing(Registry& registry, RegKey key, const char* name);
// Creates the subkey (or finds it there); the caller opens it refusing links.
bool CreateKey(Registry& registry, RegKey parent, const char* name);
// A decimal count of at most 6 digits.
std::optional<std::uint32_t> Count(const std::string& word);

}  // namespace tw::ledger
