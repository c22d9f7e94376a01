// Stands in for a product's real uninstaller: records the command line and the
// show state that it was started with, so that a test can see what twuninst
// handed on, and ends at once: with the exit code written in
// uninstaller-exit-code.txt beside it when there is one, else 0.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "record_file.h"

namespace {

int ChosenExitCode() {
  char path[MAX_PATH + 64];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  char* lastSlash = length == 0 || length >= MAX_PATH ? nullptr : std::strrchr(path, '\\');
  if (lastSlash == nullptr) return 0;
  std::strcpy(lastSlash + 1, "uninstaller-exit-code.txt");
  std::FILE* in = std::fopen(path, "rb");
  if (in == nullptr) return 0;
  char text[16] = "";
  const std::size_t read = std::fread(text, 1, sizeof text - 1, in);
  std::fclose(in);
  text[read] = '\0';
  return std::atoi(text);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  const int showCommand = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : -1;
  if (!AppendRecord("uninstaller-calls.txt", "show=%d %s", showCommand, GetCommandLineA())) return 1;
  return ChosenExitCode();
}
