// Stands in for a product's real uninstaller: records the command line and the
// show state that it was started with, so that a test can see what twuninst
// handed on, and ends at once.
#include <windows.h>

#include "record_file.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  const int showCommand = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : -1;
  return AppendRecord("uninstaller-calls.txt", "show=%d %s", showCommand, GetCommandLineA()) ? 0 : 1;
}
