#include "platform/overlay/overlay_registry.h"

namespace tw {

OverlayRegistry::OverlayRegistry(Registry& machine, const CodePage& codePage, const std::vector<KeyTree>& trees)
    : MachineKeys(machine, codePage), MemoryRegistry(codePage, this) {
  for (const KeyTree& tree : trees) ReadThrough(tree.root, tree.path);
}

}  // namespace tw
