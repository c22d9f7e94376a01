// The machine's registry as the source of a preview's overlay: each key read
// when the removal first reaches it. Registry links are read as links (their
// targets read the same way when reached) and keys the machine refuses to
// open for writing are refused in the overlay too. A key that cannot be read
// whole is named: a preview that reached it cannot be exact.
#pragma once

#include <optional>
#include <string>

#include "platform/code_page.h"
#include "platform/memory/key_source.h"
#include "platform/registry.h"

namespace tw {

class MachineKeys : public KeySource {
 public:
  MachineKeys(Registry& machine, const CodePage& codePage) : machine_(machine), codePage_(codePage) {}

  bool ReadKey(KeyFill& key, RegKey root, const std::string& path) override;

  // The first key read so far that could not be read whole; none while the
  // overlay is exact.
  const std::optional<std::string>& Unreadable() const { return unreadable_; }

 private:
  // False when a value could not be read.
  bool ReadValues(RegKey from, KeyFill& into);
  // The link standing at path, read; false when the key is no link.
  bool ReadLink(KeyFill& into, RegKey root, const std::string& path);
  // A native link path ("\REGISTRY\MACHINE\..." or "\REGISTRY\USER\<user>\...")
  // as a root and a path below it; false for any other.
  bool SplitNativePath(const std::string& native, RegKey* root, std::string* path) const;
  void NoteUnreadable(RegKey root, const std::string& path);

  Registry& machine_;
  const CodePage& codePage_;
  std::optional<std::string> unreadable_;
};

}  // namespace tw
