#include "registry/key_tree.h"

#include "registry/enumeration.h"
#include "registry/layout.h"
#include "registry/scoped_key.h"

namespace tw {
namespace {

// Deletes the open key and what lies below it. Each subkey is opened by its
// name relative to its parent's handle, never by a path from the root: a
// key renamed or swapped for a registry link while the walk runs cannot send
// it elsewhere, and a link in the tree is opened and deleted itself, the key
// it points to stays. A kill part way leaves the rest of the tree, which the
// next removal walks again.
void DeleteOpenTree(Registry& registry, ScopedKey& key) {
  if (!key.IsOpen()) return;
  // Systems that delete a key with its subkeys are done here.
  if (key.DeleteSelf() == kErrorSuccess) return;

  for (const std::string& name : CollectSubkeyNames(registry, key.Handle(), layout::kKeyPathCapacity)) {
    ScopedKey child(registry, key.Handle(), name, kKeyAllAccess | kKeyOpenLink);
    DeleteOpenTree(registry, child);
  }
  key.DeleteSelf();
}

}  // namespace

// From here on the tree is reached only through the handle opened now.
void DeleteKeyTree(Registry& registry, const CodePage& codePage, RegKey root, const std::string& path) {
  ScopedKey key(registry, root, path, kKeyAllAccess, ScopedKey::RefuseLinks{codePage});
  DeleteOpenTree(registry, key);
}

}  // namespace tw
