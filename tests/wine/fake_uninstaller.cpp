// Stands in for a product's real uninstaller: records the command line and the
// show state that it was started with, so that a test can see what twuninst
// handed on, and ends at once: with the exit code written in
// uninstaller-exit-code.txt beside it when there is one, else 0.
#include <windows.h>

#include "record_file.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  const int showCommand = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : -1;
  if (!AppendRecord("uninstaller-calls.txt", "show=%d %s", showCommand, GetCommandLineA())) return 1;
  unsigned long exitCode = 0;
  return ReadNumberBeside("uninstaller-exit-code.txt", &exitCode) ? static_cast<int>(exitCode) : 0;
}
