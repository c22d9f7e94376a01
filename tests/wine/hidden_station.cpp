// Runs a command line as a deployment agent in a service would: in a window
// station of its own, which is not the visible one, so that no one can see
// or answer a box the program shows. Prints what the started program will
// see (its station's visibility and its session), waits for the program and
// ends with its exit code; 1 when the station or the process cannot be made.
//   hidden_station.exe <program> <arguments...>
#include <windows.h>

#include <cstdio>
#include <cstring>

int main() {
  // The command line after this program's own name, as it was given.
  const char* line = GetCommandLineA();
  const bool quoted = *line == '"';
  line = std::strchr(line + (quoted ? 1 : 0), quoted ? '"' : ' ');
  if (line == nullptr) return 1;
  line += quoted ? 1 : 0;
  while (*line == ' ') ++line;

  HWINSTA station = CreateWindowStationA("TwHidden", 0, WINSTA_ALL_ACCESS, nullptr);
  if (station == nullptr) {
    std::printf("cannot create the window station: error %lu\n", GetLastError());
    return 1;
  }
  HWINSTA own = GetProcessWindowStation();
  if (!SetProcessWindowStation(station)) return 1;
  HDESK desktop = CreateDesktopA("Default", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  SetProcessWindowStation(own);
  if (desktop == nullptr) {
    std::printf("cannot create the desktop: error %lu\n", GetLastError());
    return 1;
  }
  USEROBJECTFLAGS flags{};
  GetUserObjectInformationA(station, UOI_FLAGS, &flags, sizeof flags, nullptr);
  DWORD session = 0;
  ProcessIdToSessionId(GetCurrentProcessId(), &session);
  std::printf("station visible=%d session=%lu\n", (flags.dwFlags & WSF_VISIBLE) != 0 ? 1 : 0, session);
  std::fflush(stdout);

  char desktopName[] = "TwHidden\\Default";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.lpDesktop = desktopName;
  PROCESS_INFORMATION process{};
  char* commandLine = _strdup(line);
  if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    std::printf("cannot start %s: error %lu\n", line, GetLastError());
    return 1;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  return static_cast<int>(exitCode);
}
