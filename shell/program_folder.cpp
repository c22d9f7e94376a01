#include "app/uninstall_app.h"

namespace tw {

void UninstallApp::RemoveProgramFolder(const std::string&) {}

void UninstallApp::DeleteDirectoryTree(const std::string&) {}

}  // namespace tw
