#include "app/uninstall_app.h"

namespace tw {

void UninstallApp::RemoveSoundEvents() {}

}  // namespace tw
