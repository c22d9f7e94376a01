#include "app/uninstall_app.h"

namespace tw {

void UninstallApp::ReleaseEngineData() {}

}  // namespace tw
