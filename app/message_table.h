// The string table's texts by id, UTF-8: what the change log writes for a box
// and what stands in for the resources where there are none.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace tw {

std::map<std::uint32_t, std::string> MessageTable();

}  // namespace tw
