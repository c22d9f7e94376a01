#pragma once

#include "platform/types.h"

namespace tw {

class ShellLinks {
 public:
  virtual ~ShellLinks() = default;
  // Loads the shortcut at linkPath (a missing one starts empty), sets its
  // target and working directory, clears its icon location and saves it to
  // the same path. Everything else in the shortcut is kept.
  virtual ComResult Update(const char* targetPath, const char* linkPath, const char* workingDirectory) = 0;
};

}  // namespace tw
