// What a hostile user or a faulty setup leaves among the keys the uninstaller
// deletes, planted at random on top of an installation: registry links to a
// machine-wide key outside the family's tree, and values (with nulKeys also
// subkeys) whose names hold a NUL character. The run must leave the key the
// links point to as it was; the scope check sees any change to it.
#pragma once

#include <random>

#include "tests/support/test_services.h"

namespace tw::test {

// HKEY_LOCAL_MACHINE\<kLinkVictim>, made by the planting when missing.
constexpr const char* kLinkVictim = "SOFTWARE\\Victim";

// Returns how many entries were planted.
int PlantHostileEntries(TestRegistry& registry, std::mt19937_64& random, bool nulKeys);

}  // namespace tw::test
