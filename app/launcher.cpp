#include "app/message_ids.h"
#include "app/uninstall_app.h"

namespace tw {

void UninstallApp::LaunchUninstaller() {
  const std::string commandLine = uninstallerPath_ + " -y " + uninstallerArguments_;
  const std::uint32_t result = platform_.processes.Start(commandLine.c_str(), kSwShow);
  if (result < 32) {
    outcome_.kind = RunOutcome::Kind::kUninstallerNotStarted;
    platform_.messages.ShowFormatted(IDS_LAUNCH_FAILED, kMbOk | kMbIconExclamation, static_cast<int>(result),
                                     commandLine.c_str());
  }
}

}  // namespace tw
