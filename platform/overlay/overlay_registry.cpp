#include "platform/overlay/overlay_registry.h"

namespace tw {

OverlayRegistry::OverlayRegistry(Registry& machine, const CodePage& codePage, const std::vector<KeyTree>& trees)
    : machineKeys_(machine, codePage), store_(codePage, &machineKeys_) {
  for (const KeyTree& tree : trees) store_.ReadThrough(tree.root, tree.path);
}

}  // namespace tw
