// The checks behind the fuzz targets, shared by the libFuzzer executables and
// by the test that replays the checked-in corpus and every crash found so far.
// Each takes one input and returns what went wrong with it (nothing when the
// run was sound).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tw::fuzz {

using Problems = std::vector<std::string>;

// The input is the command line: parsing it and a whole run on an empty
// registry keep every promise of the parameters and the launch.
Problems CheckCommandLine(const std::uint8_t* data, std::size_t size);

// The input is .reg text: importing it never breaks the registry, and what is
// exported from the result imports to the same registry again.
Problems CheckRegText(const std::uint8_t* data, std::size_t size);

// The input's first line is the command line, the rest .reg text (plus the
// lines "@values <count> <key>" and "@keys <count> <key>" that fill a key with
// many values or subkeys). The whole run, answered Yes, changes nothing
// outside the family's tree and the system keys it may change, and nothing on
// disk outside the programs directory.
Problems CheckWholeRun(const std::uint8_t* data, std::size_t size);

struct Target {
  const char* name;
  Problems (*check)(const std::uint8_t* data, std::size_t size);
};

inline constexpr Target kTargets[] = {
    {"command_line", CheckCommandLine},
    {"reg_text", CheckRegText},
    {"whole_run", CheckWholeRun},
};

}  // namespace tw::fuzz
