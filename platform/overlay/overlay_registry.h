// The registry of a preview: the key trees the uninstaller can reach, an
// in-memory registry with the Windows behaviour whose keys the machine's
// registry fills in, each when the removal first reaches it (open, create,
// delete, listing, through any path, link or handle), so a removal that reads
// a handful of keys reads only those; what the removal changed stays in the
// overlay and hides the machine's.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/memory/memory_registry.h"
#include "platform/overlay/machine_keys.h"

namespace tw {

struct KeyTree {
  RegKey root;
  std::string path;
};

// The source is a base ahead of the store so that it is made before the
// store that reads from it and goes after it.
class OverlayRegistry : private MachineKeys, public MemoryRegistry {
 public:
  OverlayRegistry(Registry& machine, const CodePage& codePage, const std::vector<KeyTree>& trees);

  using MachineKeys::Unreadable;
};

}  // namespace tw
