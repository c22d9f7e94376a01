#include "tests/support/hostile_planting.h"

#include <string>
#include <vector>

#include "registry/enumeration.h"
#include "registry/layout.h"
#include "registry/scoped_key.h"
#include "tests/support/registry_probe.h"

namespace tw::test {
namespace {

struct KeyPath {
  RegKey root;
  std::string path;
};

// Keys below these are where links go: every one of them the uninstaller
// deletes as a tree or leaves alone.
const KeyPath kLinkTrees[] = {
    {kHkeyLocalMachine, Family("Control")}, {kHkeyLocalMachine, Family("Dictation")},
    {kHkeyLocalMachine, Family("Enroll")},  {kHkeyLocalMachine, Family("Help")},
    {kHkeyLocalMachine, Family("Engine")},  {kHkeyLocalMachine, Family("Audio")},
    {kHkeyCurrentUser, "AppEvents\\EventLabels"}, {kHkeyCurrentUser, "AppEvents\\Schemes\\Apps\\Talkwise"},
};

// Keys whose values the uninstaller enumerates: shortcut lists and the help
// registrations.
bool ListsValues(const std::string& path) {
  return path == layout::kHelpRegistrations || (path.size() > 4 && path.compare(path.size() - 4, 4, "Objs") == 0);
}

// Every key at or below path. Below a key named "Languages" a new name would
// be a language: for links, such keys are passed over with what lies below.
void CollectKeys(TestRegistry& registry, RegKey root, const std::string& path, bool intoLanguages,
                 std::vector<KeyPath>* keys) {
  const ScopedKey key(registry, root, path, kKeyRead);
  if (!key.IsOpen()) return;
  keys->push_back({root, path});
  for (const std::string& name : CollectSubkeyNames(registry, key.Handle(), layout::kKeyPathCapacity)) {
    if (intoLanguages || name != layout::kLanguages) {
      CollectKeys(registry, root, path + "\\" + name, intoLanguages, keys);
    }
  }
}

// Copies of the key's values under their name and a NUL and "x" after it.
int PlantNulValues(TestRegistry& registry, const KeyPath& where) {
  ScopedKey key(registry, where.root, where.path, kKeyAllAccess);
  int planted = 0;
  for (const RegistryValue& value : CollectValues(registry, key.Handle(), 256, 4096)) {
    planted += registry.SetValueNamed(key.Handle(), value.name + std::string(1, '\0') + "x", value.type,
                                      value.data) == kErrorSuccess;
  }
  return planted;
}

}  // namespace

int PlantHostileEntries(TestRegistry& registry, std::mt19937_64& random, bool nulKeys) {
  WriteText(registry, kHkeyLocalMachine, kLinkVictim, "Keep", "yes");
  std::vector<KeyPath> linkParents;
  for (const KeyPath& tree : kLinkTrees) CollectKeys(registry, tree.root, tree.path, false, &linkParents);
  int planted = 0;
  for (std::size_t i = 0; i < linkParents.size(); ++i) {
    // A link right below the scheme key would keep it, as any subkey does.
    if (random() % 6 != 0 || linkParents[i].path == layout::kSoundScheme) continue;
    ScopedKey parent(registry, linkParents[i].root, linkParents[i].path, kKeyAllAccess);
    if (!parent.IsOpen()) continue;
    planted += registry.CreateLink(parent.Handle(), "Link" + std::to_string(i), kHkeyLocalMachine, kLinkVictim) ==
               kErrorSuccess;
    if (nulKeys && random() % 2 == 0) {
      planted += registry.CreateKeyNamed(parent.Handle(), random() % 2 ? std::string(1, '\0') : std::string("k\0x", 3)) ==
                 kErrorSuccess;
    }
  }
  std::vector<KeyPath> valueLists;
  CollectKeys(registry, kHkeyLocalMachine, Family("Install"), true, &valueLists);
  valueLists.push_back({kHkeyLocalMachine, layout::kHelpRegistrations});
  for (const KeyPath& key : valueLists) {
    if (ListsValues(key.path) && random() % 3 == 0) planted += PlantNulValues(registry, key);
  }
  return planted;
}

}  // namespace tw::test
