// What an ordinary user may plant in the start menu to steer the elevated
// uninstaller outside it: links to a folder of precious files, at any level
// of the program folders, second names (hard links) of precious files, one of
// them read-only, and folders whose one name reads as a path up to that
// folder. The scenarios plant them at random before each run; the
// images of the disk around the run must then differ only inside the
// programs directory.
#pragma once

#include <random>
#include <string>

#include "tests/support/test_platform.h"

namespace tw::test {

// Plants one to three hostile entries into random folders below the programs
// directory (and a folder of precious files outside it, the first time).
// Needs the portable file system: the host names it makes have backslashes.
void PlantHostileEntries(TestPlatform& platform, const std::string& programsDirectory, std::mt19937_64& random);

// Whether a name found in a program folder is one that PlantHostileEntries
// made (the program leaves some of them, as it should).
bool IsPlantedName(const std::string& name);

}  // namespace tw::test
