#include "app/uninstall_app.h"

namespace tw {

void UninstallApp::RemoveAppPaths() {}

}  // namespace tw
