#include "app/uninstall_app.h"

#include <utility>

#include "app/message_ids.h"

namespace tw {

UninstallApp::UninstallApp(const Platform& platform, std::string commandLine, InstanceHandle instance)
    : platform_(platform), commandLine_(std::move(commandLine)), instance_(instance) {}

bool UninstallApp::RunUninstall() {
  platform_.messages.EnableThreeDimensionalLook();
  if (platform_.messages.Show(IDS_CONFIRM_REMOVAL, kMbYesNo | kMbIconQuestion) != kIdYes) {
    outcome_.kind = RunOutcome::Kind::kDeclined;
    return false;
  }
  if (!ParseCommandLine()) {
    outcome_.kind = RunOutcome::Kind::kBadCommandLine;
    return false;
  }
  CleanUpProduct();
  LaunchUninstaller();
  return false;
}

}  // namespace tw
