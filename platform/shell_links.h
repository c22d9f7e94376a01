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
};

}  // namespace tw
