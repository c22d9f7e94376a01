// Enumerations by index from 0 until ERROR_NO_MORE_ITEMS, collected before
// anything is deleted. An index whose name or data does not fit the buffers
// (ERROR_MORE_DATA) is passed over; any other error ends the walk, because it
// repeats for every index (a key deleted meanwhile, a dead handle) and would
// otherwise never end. A name that holds a NUL character (the native calls
// can make one, and the enumeration hands it back whole) is passed over too:
// cut at the NUL, it would name another key or value.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace tw {

struct RegistryValue {
  std::string name;
  ValueType type = kRegNone;
  std::vector<std::uint8_t> data;

  // The data as a text: up to its first terminator or the end of the data.
  std::string Text() const;
};

// complete, when given, tells whether the walk reached the last index.
std::vector<std::string> CollectSubkeyNames(Registry& registry, RegKey key, std::uint32_t nameCapacity,
                                            bool* complete = nullptr);

std::vector<RegistryValue> CollectValues(Registry& registry, RegKey key, std::uint32_t nameCapacity,
                                         std::uint32_t dataCapacity);

}  // namespace tw
