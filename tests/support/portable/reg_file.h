// Registry contents as .reg text ("REGEDIT4"), the form that `reg import`
// reads on Windows and Wine, so that every test tier shares its fixtures.
// Works on any Registry implementation.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace tw {

// Applies the text: [key] creates, [-key] deletes a whole tree, "name"=-
// deletes a value. Returns an error naming the line, or nothing on success.
// Lines before the error have been applied.
std::optional<std::string> ImportRegText(Registry& registry, const std::string& text);

// The trees at the given full paths ("HKEY_LOCAL_MACHINE\SOFTWARE\..."),
// keys in enumeration order, values in their stored order. Missing trees are
// left out.
std::string ExportRegText(Registry& registry, const std::vector<std::string>& keyPaths);

// Writes the bytes exactly as given. RegSetValueExA also stores a text's
// terminator when it follows the counted bytes, so the bytes are passed with
// a non-NUL byte after them.
Status WriteValueBytes(Registry& registry, RegKey key, const char* valueName, ValueType type,
                       const std::vector<std::uint8_t>& data);

// "HKEY_LOCAL_MACHINE" / "HKEY_CURRENT_USER" and their short forms.
std::optional<RegKey> RootByName(const std::string& name);

}  // namespace tw
