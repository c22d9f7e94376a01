// The registry of a preview: the key trees the uninstaller can reach, copied
// from the machine's registry into an in-memory one with the same Windows
// behaviour. Reads see the machine's keys as they were; changes stay in the
// copy. Registry links are copied as links and keys the machine refuses to
// open for writing are refused in the copy too. A tree that cannot be copied
// whole is named: a preview on it cannot be exact.
#pragma once

#include <initializer_list>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/memory/memory_registry.h"

namespace tw {

struct KeyTree {
  RegKey root;
  std::string path;
};

class OverlayRegistry : public MemoryRegistry {
 public:
  OverlayRegistry(Registry& machine, const CodePage& codePage, std::initializer_list<KeyTree> trees);

  // The first key that could not be copied whole; none when the copy is exact.
  const std::optional<std::string>& Uncopied() const { return uncopied_; }

 private:
  void CopyTree(Registry& machine, RegKey root, const std::string& path);
  // False when a value could not be read or kept.
  bool CopyValues(Registry& machine, RegKey from, RegKey into);
  // The link standing at path, copied; false when the key is no link.
  bool CopyLink(Registry& machine, RegKey root, const std::string& path);
  void Uncopied(RegKey root, const std::string& path);

  const CodePage& codePage_;
  std::set<std::string> copied_;  // root and folded path of every key copied
  std::optional<std::string> uncopied_;
};

}  // namespace tw
