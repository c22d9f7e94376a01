#pragma once

#include <string>

#include "platform/types.h"

namespace tw {

// What a shortcut opens: the fields that Update changes.
struct ShortcutTarget {
  std::string targetPath;
  std::string workingDirectory;
  std::string iconPath;
  int iconIndex = 0;
};

class ShellLinks {
 public:
  virtual ~ShellLinks() = default;
  // Loads the shortcut at linkPath (a missing one starts empty), sets its
  // target and working directory, clears its icon location and saves it to
  // the same path. Everything else in the shortcut is kept.
  virtual ComResult Update(const char* targetPath, const char* linkPath, const char* workingDirectory) = 0;
  // Loads the shortcut at linkPath and reads the fields that Update changes.
  virtual ComResult Read(const char* linkPath, ShortcutTarget* target) = 0;
  // What Update would meet before it writes, nothing written: the same checks
  // of where the shortcut lies and the access its save needs (a read-only
  // shortcut is refused, as Windows refuses its save).
  virtual ComResult MayUpdate(const char* linkPath) = 0;
};

}  // namespace tw
