#include "app/uninstall_app.h"
#include "registry/enumeration.h"
#include "registry/key_path.h"
#include "registry/scoped_key.h"

namespace tw {
namespace {

// Deletes the open key root\path and what lies below it. A subkey is opened
// without following a registry link, so that a link in the tree is deleted
// itself and the key it points to stays.
void DeleteOpenTree(Registry& registry, RegKey root, const std::string& path, ScopedKey& key) {
  if (!key.IsOpen()) return;
  // Systems that delete a key with its subkeys are done here.
  if (key.DeleteSelf() == kErrorSuccess) return;

  for (const std::string& name : CollectSubkeyNames(registry, key.Handle(), layout::kKeyPathCapacity)) {
    // A child path too long for its buffer is left alone, never cut short.
    const auto childPath = JoinPath({path, name});
    if (!childPath) continue;
    ScopedKey child(registry, root, *childPath, kKeyAllAccess | kKeyOpenLink);
    DeleteOpenTree(registry, root, *childPath, child);
  }
  key.DeleteSelf();
}

}  // namespace

// The key itself is a fixed key of the layout or a system key: where a link
// stands in its place, nothing is deleted.
void UninstallApp::DeleteKeyTree(RegKey root, const std::string& path) {
  ScopedKey key(platform_.registry, root, path, kKeyAllAccess, ScopedKey::RefuseLinks{platform_.codePage});
  DeleteOpenTree(platform_.registry, root, path, key);
}

}  // namespace tw
