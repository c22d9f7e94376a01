// Deleting a registry key with everything below it.
#pragma once

#include <string>

#include "platform/code_page.h"
#include "platform/registry.h"

namespace tw {

// The key at root\path and its subtree. The key itself is a fixed key of the
// layout or a system key: where a link stands in its place (any name of the
// path, split as the code page splits it), nothing is deleted.
void DeleteKeyTree(Registry& registry, const CodePage& codePage, RegKey root, const std::string& path);

}  // namespace tw
