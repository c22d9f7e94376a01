#include "platform/overlay/overlay_shell_links.h"

#include "platform/overlay/folded_path.h"

namespace tw {

ComResult OverlayShellLinks::Update(const char* targetPath, const char* linkPath, const char* workingDirectory) {
  // The machine refuses a shortcut for reading as for writing when it is not
  // where its path says (a link, a second name, a folder swapped): the run's
  // update would fail there too.
  ShortcutTarget current;
  if (machine_.Read(linkPath, &current) == kEAccessDenied) return kEAccessDenied;
  updated_[FoldedPath(linkPath, codePage_)] = ShortcutTarget{targetPath, workingDirectory, "", 0};
  return kSOk;
}

ComResult OverlayShellLinks::Read(const char* linkPath, ShortcutTarget* target) {
  const auto it = updated_.find(FoldedPath(linkPath, codePage_));
  if (it == updated_.end()) return machine_.Read(linkPath, target);
  *target = it->second;
  return kSOk;
}

}  // namespace tw
