#include "app/uninstall_app.h"

#include <utility>

#include "app/message_ids.h"
#include "app/removal_turn.h"

namespace tw {

UninstallApp::UninstallApp(const Platform& platform, std::string commandLine, InstanceHandle instance,
                           bool refuseUnregistered)
    : platform_(platform),
      commandLine_(std::move(commandLine)),
      instance_(instance),
      refuseUnregistered_(refuseUnregistered),
      ledger_(platform_.registry, platform_.codePage) {}

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
  {
    const RemovalTurn turn(platform_.lock, platform_.notes);
    if (!turn.Held()) {
      outcome_.kind = RunOutcome::Kind::kAnotherRemovalRunning;
      platform_.messages.Show(IDS_REMOVAL_RUNNING, kMbOk | kMbIconExclamation);
      return false;
    }
    CleanUpProduct();
  }
  if (outcome_.kind == RunOutcome::Kind::kNotRegistered) {
    const std::string removal = productCode_ + " " + variantLetter_ + " " + languageCode_;
    platform_.messages.ShowFormatted(IDS_NOT_REGISTERED, kMbOk | kMbIconExclamation, 0, removal.c_str());
    return false;
  }
  LaunchUninstaller();
  return false;
}

}  // namespace tw
