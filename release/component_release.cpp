#include "app/uninstall_app.h"

namespace tw {

void UninstallApp::BuildComponentList() {}

void UninstallApp::ReleaseComponentLanguages() {}

void UninstallApp::ReleaseComponents() {}

}  // namespace tw
