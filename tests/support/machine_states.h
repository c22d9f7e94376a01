// States of the machine that only asking it reveals, planted at random for
// one run: another program holding a file open without delete sharing, a
// read-only shortcut, a shortcut listed with a capital outside A-Z and found
// in small letters, a label key 70 levels deep, an uninstaller that cannot
// start. A preview must report each as the run then meets it.
#pragma once

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tests/support/held_open.h"
#include "tests/support/test_platform.h"

namespace tw::test {

// Where a state is planted: a program folder, the objects key of a product
// that lists its shortcuts and the folder's counters key (paths below
// HKEY_LOCAL_MACHINE), the sound event label key that a removal deletes
// (below HKEY_CURRENT_USER).
struct StateSites {
  std::string programFolder;
  std::string objectsKey;
  std::string countersKey;
  std::string labelKey;
};

struct PlantedState {
  std::string name;  // "" when nothing was planted
  std::vector<std::unique_ptr<HeldOpen>> held;
  bool startFails = false;
};

// The name a held-open file gets: the program keeps it and so its folder.
constexpr const char* kHeldOpenName = "planted held open.lnk";

// Plants none or one of the states, chosen by random.
PlantedState PlantMachineState(TestPlatform& platform, const StateSites& sites, std::mt19937_64& random);

}  // namespace tw::test
