// Registry names and data written as .reg text ("REGEDIT4"): the form of
// the fixtures, of the registry exports and of the change log.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/hex_digits.h"
#include "platform/types.h"

namespace tw {

// A text in double quotes, backslashes and quotes escaped.
std::string Quote(const std::string& text);
// A value name as a .reg line starts it: "@" for the default value.
std::string RegValueName(const std::string& name);
// The data after "name=": a plain text quoted, a four-byte DWORD as
// dword:..., anything else as hex bytes, continued with "\" and a line end
// past column 76 (prefixLength: the columns before the data; none: one line
// however long, as the change log has it).
std::string FormatData(ValueType type, const std::vector<std::uint8_t>& data, std::optional<std::size_t> prefixLength);

}  // namespace tw
