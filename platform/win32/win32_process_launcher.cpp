#include "platform/win32/win32_process_launcher.h"

#include <windows.h>

#include <string>

namespace tw {
namespace {

constexpr std::uint32_t kStarted = 33;  // what WinExec returns for a started program

// Whether name, found as CreateProcess finds a program (".exe" added to a
// name without an extension; the program's folder, the current one, the
// system's, then PATH), is a file.
bool FindsProgram(const std::string& name) {
  char found[MAX_PATH];
  const DWORD length = SearchPathA(nullptr, name.c_str(), ".exe", MAX_PATH, found, nullptr);
  if (length == 0 || length >= MAX_PATH) return false;
  const DWORD attributes = GetFileAttributesA(found);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

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
  return kStarted;
}

// The program of an unquoted line is the shortest run of its words that
// names a file ("C:\Program Files\x.exe" is tried as "C:\Program" first).
std::uint32_t Win32ProcessLauncher::MayStart(const char* commandLine) {
  const std::string line(commandLine);
  if (!line.empty() && line[0] == '"') {
    const std::size_t end = line.find('"', 1);
    return FindsProgram(line.substr(1, end == std::string::npos ? std::string::npos : end - 1)) ? kStarted
                                                                                              : ERROR_FILE_NOT_FOUND;
  }
  for (std::size_t end = line.find(' '); ; end = line.find(' ', end + 1)) {
    if (FindsProgram(line.substr(0, end))) return kStarted;
    if (end == std::string::npos) break;
  }
  // The error of the first word, as the start reports it: a missing folder
  // on the way is another error than a missing program.
  const std::string first = line.substr(0, line.find(' '));
  return GetFileAttributesA(first.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_PATH_NOT_FOUND
             ? ERROR_PATH_NOT_FOUND
             : ERROR_FILE_NOT_FOUND;
}

}  // namespace tw
