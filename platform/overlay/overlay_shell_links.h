// The shell links of a preview: an update is kept, not written, and reading
// the shortcut afterwards sees it; one the machine would refuse (asked of the
// machine itself) is refused.
#pragma once

#include <map>
#include <string>

#include "platform/code_page.h"
#include "platform/shell_links.h"

namespace tw {

class OverlayShellLinks : public ShellLinks {
 public:
  OverlayShellLinks(ShellLinks& machine, const CodePage& codePage) : machine_(machine), codePage_(codePage) {}

  ComResult Update(const char* targetPath, const char* linkPath, const char* workingDirectory) override;
  ComResult Read(const char* linkPath, ShortcutTarget* target) override;
  ComResult MayUpdate(const char* linkPath) override { return machine_.MayUpdate(linkPath); }

 private:
  ShellLinks& machine_;
  const CodePage& codePage_;
  std::map<std::string, ShortcutTarget> updated_;
};

}  // namespace tw
