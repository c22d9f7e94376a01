// The program's entry: no window, no console; the whole run happens inside
// RunUninstall and the exit code is 0 whatever it did.
#include <windows.h>

#include "app/message_ids.h"
#include "app/uninstall_app.h"
#include "platform/win32/win32_platform.h"
#include "registry/key_path.h"
#include "registry/layout.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  const auto instanceHandle = reinterpret_cast<tw::InstanceHandle>(instance);
  static tw::Win32Platform platform(
      instanceHandle, IDS_APP_TITLE,
      {tw::FamilyPath({tw::layout::kEngine, tw::layout::kDirectories}).value_or(""), tw::layout::kBin});
  static tw::UninstallApp app(platform.View(), commandLine != nullptr ? commandLine : "", instanceHandle);
  app.RunUninstall();
  return 0;
}
