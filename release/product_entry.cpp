#include "app/uninstall_app.h"

namespace tw {

void UninstallApp::ReleaseProductEntry() {}

}  // namespace tw
