#include "app/uninstall_app.h"

namespace tw {

void UninstallApp::RemoveHelpRegistrations() {}

void UninstallApp::RepointHelpFiles(const std::string&) {}

}  // namespace tw
