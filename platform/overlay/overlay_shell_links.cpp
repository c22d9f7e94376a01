#include "platform/overlay/overlay_shell_links.h"

#include "platform/overlay/folded_path.h"

namespace tw {

ComResult OverlayShellLinks::Update(const char* targetPath, const char* linkPath, const char* workingDirectory) {
  // What the run's update meets before it writes: a shortcut not where its
  // path says (a link, a second name, a folder swapped), a read-only one.
  const ComResult allowed = machine_.MayUpdate(linkPath);
  if (allowed != kSOk) return allowed;
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
