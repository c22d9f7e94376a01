// What only the native registry calls can make, for the tests that plant it:
// registry links, and key and value names that hold NUL characters. Parents
// are handles of opened keys, never the predefined roots.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace tw::test {

// A link at parent\name to targetRoot\targetPath (HKEY_LOCAL_MACHINE or
// HKEY_CURRENT_USER), which need not exist.
Status NativeCreateLink(RegKey parent, const std::string& name, RegKey targetRoot, const std::string& targetPath);
// Names are taken whole, NUL characters included; text data is 8-bit, as
// the 8-bit calls take it.
Status NativeCreateKey(RegKey parent, const std::string& name);
Status NativeSetValue(RegKey key, const std::string& name, ValueType type, const std::vector<std::uint8_t>& data);
// Deletes parent\name itself, a link included, never what a link points to.
Status NativeDeleteKey(RegKey parent, const std::string& name);
// Renames parent\name (a link itself) to newName, as another process can
// while the uninstaller holds the key open (NtRenameKey).
Status NativeRenameKey(RegKey parent, const std::string& name, const std::string& newName);

}  // namespace tw::test
