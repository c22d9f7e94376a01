// Exit codes of a run with switches, those of Windows Installer that
// deployment tools already understand.
#pragma once

namespace tw {

constexpr int kExitDone = 0;
constexpr int kExitDeclined = 1602;        // ERROR_INSTALL_USEREXIT
constexpr int kExitFailed = 1603;          // ERROR_INSTALL_FAILURE: the uninstaller did not start
constexpr int kExitUnknownProduct = 1605;  // ERROR_UNKNOWN_PRODUCT
constexpr int kExitAnotherRemoval = 1618;  // ERROR_INSTALL_ALREADY_RUNNING: deployment tools retry
constexpr int kExitLogUnwritable = 1622;   // ERROR_INSTALL_LOG_FAILURE
constexpr int kExitBadCommandLine = 1639;  // ERROR_INVALID_COMMAND_LINE

}  // namespace tw
