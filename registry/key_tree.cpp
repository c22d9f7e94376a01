#include "app/uninstall_app.h"
#include "registry/enumeration.h"
#include "registry/key_path.h"
#include "registry/scoped_key.h"

namespace tw {

void UninstallApp::DeleteKeyTree(RegKey root, const std::string& path) {
  ScopedKey key(platform_.registry, root, path, kKeyAllAccess);
  if (!key.IsOpen()) return;
  // Systems that delete a key with its subkeys are done here.
  if (key.DeleteSelf() == kErrorSuccess) return;

  for (const std::string& name : CollectSubkeyNames(platform_.registry, key.Handle(), layout::kKeyPathCapacity)) {
    // A child path too long for its buffer is left alone, never cut short.
    if (auto childPath = JoinPath({path, name})) DeleteKeyTree(root, *childPath);
  }
  key.DeleteSelf();
}

}  // namespace tw
