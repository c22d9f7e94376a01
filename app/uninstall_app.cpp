#include "app/uninstall_app.h"

#include <utility>

#include "app/message_ids.h"

namespace tw {

UninstallApp::UninstallApp(const Platform& platform, std::string commandLine, InstanceHandle instance)
    : platform_(platform), commandLine_(std::move(commandLine)), instance_(instance) {}

bool UninstallApp::RunUninstall() {
  platform_.messages.EnableThreeDimensionalLook();
  if (platform_.messages.Show(IDS_CONFIRM_REMOVAL, kMbYesNo | kMbIconQuestion) != kIdYes) return false;
  if (!ParseCommandLine()) return false;
  CleanUpProduct();
  LaunchUninstaller();
  return false;
}

}  // namespace tw
