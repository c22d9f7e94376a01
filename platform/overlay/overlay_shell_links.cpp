#include "platform/overlay/overlay_shell_links.h"

#include "platform/overlay/folded_path.h"

namespace tw {

ComResult OverlayShellLinks::Update(const char* targetPath, const char* linkPath, const char* workingDirectory) {
  updated_[FoldedPath(linkPath)] = ShortcutTarget{targetPath, workingDirectory, "", 0};
  return kSOk;
}

ComResult OverlayShellLinks::Read(const char* linkPath, ShortcutTarget* target) {
  const auto it = updated_.find(FoldedPath(linkPath));
  if (it == updated_.end()) return machine_.Read(linkPath, target);
  *target = it->second;
  return kSOk;
}

}  // namespace tw
