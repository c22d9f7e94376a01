// The shell links of a preview: an update is kept, not written, and reading
// the shortcut afterwards sees it; one the machine would refuse is refused.
#pragma once

#include <map>
#include <string>

#include "platform/shell_links.h"

namespace tw {

class OverlayShellLinks : public ShellLinks {
 public:
  explicit OverlayShellLinks(ShellLinks& machine) : machine_(machine) {}

  ComResult Update(const char* targetPath, const char* linkPath, const char* workingDirectory) override;
  ComResult Read(const char* linkPath, ShortcutTarget* target) override;

 private:
  ShellLinks& machine_;
  std::map<std::string, ShortcutTarget> updated_;
};

}  // namespace tw
