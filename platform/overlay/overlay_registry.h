// The registry of a preview: the key trees the uninstaller can reach, read
// through from the machine's registry into an in-memory one with the same
// Windows behaviour. A key is read from the machine when the removal first
// reaches it (open, create, delete, listing, through any path, link or
// handle), so a removal that reads a handful of keys reads only those; what
// the removal changed stays in the overlay and hides the machine's. Registry
// links are read as links (their targets read the same way when reached) and
// keys the machine refuses to open for writing are refused in the overlay
// too. A key that cannot be read whole is named: a preview that reached it
// cannot be exact.
#pragma once

#include <optional>
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
  OverlayRegistry(Registry& machine, const CodePage& codePage, const std::vector<KeyTree>& trees);

  // The first key reached so far that could not be read whole; none while
  // the overlay is exact.
  const std::optional<std::string>& Unreadable() const { return unreadable_; }

 protected:
  bool ReadKey(RegKey into, RegKey root, const std::string& path) override;

 private:
  // False when a value could not be read.
  bool ReadValues(RegKey from, RegKey into);
  // The link standing at path, read; false when the key is no link.
  bool ReadLink(RegKey into, RegKey root, const std::string& path);
  // A native link path ("\REGISTRY\MACHINE\..." or "\REGISTRY\USER\<user>\...")
  // as a root and a path below it; false for any other.
  bool SplitNativePath(const std::string& native, RegKey* root, std::string* path) const;
  void Unreadable(RegKey root, const std::string& path);

  Registry& machine_;
  const CodePage& codePage_;
  std::optional<std::string> unreadable_;
};

}  // namespace tw
