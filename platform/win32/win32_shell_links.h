// Shortcut files through the shell's link object (IShellLinkA, IPersistFile).
#pragma once

#include "platform/shell_links.h"

namespace tw {

class Win32ShellLinks : public ShellLinks {
 public:
  ComResult Update(const char* targetPath, const char* linkPath, const char* workingDirectory) override;
  ComResult Read(const char* linkPath, ShortcutTarget* target) override;
  ComResult MayUpdate(const char* linkPath) override;
};

}  // namespace tw
