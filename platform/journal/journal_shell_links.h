// Shortcut updates written to the journal: the shortcut's old and new target.
#pragma once

#include "platform/journal/journal.h"
#include "platform/shell_links.h"

namespace tw {

class JournalShellLinks : public ShellLinks {
 public:
  JournalShellLinks(ShellLinks& inner, Journal& journal) : inner_(inner), journal_(journal) {}

  ComResult Update(const char* targetPath, const char* linkPath, const char* workingDirectory) override;
  ComResult Read(const char* linkPath, ShortcutTarget* target) override { return inner_.Read(linkPath, target); }
  ComResult MayUpdate(const char* linkPath) override { return inner_.MayUpdate(linkPath); }

 private:
  ShellLinks& inner_;
  Journal& journal_;
};

}  // namespace tw
