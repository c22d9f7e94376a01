// Enumerations by index from 0 until ERROR_NO_MORE_ITEMS, collected before
// anything is deleted. An index whose name or data does not fit the buffers
// (ERROR_MORE_DATA) is passed over; any other error ends the walk, because it
// repeats for every index (a key deleted meanwhile, a dead handle) and would
// otherwise never end.
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

std::vector<std::string> CollectSubkeyNames(Registry& registry, RegKey key, std::uint32_t nameCapacity);

std::vector<RegistryValue> CollectValues(Registry& registry, RegKey key, std::uint32_t nameCapacity,
                                         std::uint32_t dataCapacity);

}  // namespace tw
