// The registry of a preview: the key trees the uninstaller can reach, copied
// from the machine's registry into an in-memory one with the same Windows
// behaviour. Reads see the machine's keys as they were; changes stay in the
// copy. Registry links are copied as links and keys the machine refuses to
// open for writing are refused in the copy too.
#pragma once

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "platform/portable/memory_registry.h"

namespace tw {

struct KeyTree {
  RegKey root;
  std::string path;
};

class OverlayRegistry : public MemoryRegistry {
 public:
  OverlayRegistry(Registry& machine, const CodePage& codePage, std::initializer_list<KeyTree> trees);

 private:
  void CopyTree(Registry& machine, RegKey root, const std::string& path, int depth);
  void CopyValues(Registry& machine, RegKey from, RegKey into);
  // The link standing at path, copied; false when the key is no link.
  bool CopyLink(Registry& machine, RegKey root, const std::string& path, int depth);

  const CodePage& codePage_;
  std::map<std::string, int> copied_;  // root and folded path of every key copied: its depth
};

}  // namespace tw
