#include "app/uninstall_app.h"

namespace tw {

int UninstallApp::ReleaseShortcuts(std::string& folderName) {
  folderName.clear();
  return 1;
}

void UninstallApp::DeleteShortcut(const std::string&, const std::string&) {}

}  // namespace tw
