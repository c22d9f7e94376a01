// What the 8-bit calls cannot do to an in-memory registry, for the tests:
// links, names holding NUL characters, protected keys, renames, the older
// systems' whole-tree deletion, a logged-off user's hive file, the handles
// left open. Any in-memory registry, a preview's overlay too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/memory/memory_registry.h"

namespace tw::test {

class MemoryRegistryControls {
 public:
  explicit MemoryRegistryControls(MemoryRegistry& registry) : registry_(registry) {}

  // Older systems delete a key together with its subkeys.
  void SetDeletesWholeTree(bool wholeTree) { registry_.deletesWholeTree_ = wholeTree; }
  // Opening the key for anything but reading, and deleting it, is denied from
  // now on. The key is created when missing.
  void Protect(RegKey root, const std::string& path);
  // A registry link at parent\name to targetRoot\targetPath, which need not
  // exist; it holds the value "SymbolicLinkValue" that Windows gives a link.
  Status CreateLink(RegKey parent, const std::string& name, RegKey targetRoot, const std::string& targetPath);
  // A subkey or value whose name is taken whole: it may hold NUL characters.
  Status CreateKeyNamed(RegKey parent, const std::string& name);
  Status SetValueNamed(RegKey key, const std::string& name, ValueType type, const std::vector<std::uint8_t>& data) {
    return registry_.StoreValue(key, name, type, data);
  }
  Status DeleteKeyNamed(RegKey parent, const std::string& name);
  // RegRenameKey: the key at key\subKey (a link itself, not its target) gets
  // the new name; handles open on it stay on it.
  Status RenameKey(RegKey key, const char* subKey, const std::string& newName);
  // The key HKEY_USERS\name and all below it made the hive file at
  // filePath, as a user who logs off leaves it; LoadHive reads it again.
  // (Keys below HKEY_USERS are made as anywhere else: a logged-on user's.)
  Status StoreHiveFile(const std::string& name, const std::string& filePath) {
    return registry_.StoreHive(name, filePath);
  }
  // Handles opened and not yet closed, roots excepted.
  std::size_t OpenHandleCount() const { return registry_.handles_.size(); }

 private:
  MemoryRegistry& registry_;
};

}  // namespace tw::test
