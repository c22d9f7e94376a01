#include "platform/win32/win32_process_launcher.h"

#include <windows.h>

namespace tw {

std::uint32_t Win32ProcessLauncher::Start(const char* commandLine, std::uint32_t showCommand) {
  return WinExec(commandLine, showCommand);
}

}  // namespace tw
