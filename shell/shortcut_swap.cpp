#include "app/uninstall_app.h"

namespace tw {

void UninstallApp::SwapShortcuts(const std::string&) {}

ComResult UninstallApp::UpdateShortcut(const std::string& targetPath, const std::string& linkPath,
                                       const std::string& workingDirectory) {
  return platform_.links.Update(targetPath.c_str(), linkPath.c_str(), workingDirectory.c_str());
}

}  // namespace tw
