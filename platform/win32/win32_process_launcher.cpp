#include "platform/win32/win32_process_launcher.h"

#include <windows.h>

#include <string>

namespace tw {

std::uint32_t Win32ProcessLauncher::Start(const char* commandLine, std::uint32_t showCommand) {
  return WinExec(commandLine, showCommand);
}

std::uint32_t Win32ProcessLauncher::RunToEnd(const char* commandLine, std::uint32_t showCommand,
                                             std::uint32_t* exitCode) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  PROCESS_INFORMATION process{};
  std::string line(commandLine);  // CreateProcessA may write into its command line
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    // As WinExec reports it: the error code when it is below 32, else
    // ERROR_BAD_FORMAT.
    const DWORD error = GetLastError();
    return error < 32 ? error : ERROR_BAD_FORMAT;
  }
  CloseHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  *exitCode = code;
  return 33;  // what WinExec returns for a started program
}

}  // namespace tw
