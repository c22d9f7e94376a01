#include "platform/win32/win32_process_launcher.h"

#include <windows.h>

#include <string>

namespace tw {
namespace {

constexpr std::uint32_t kStarted = 33;  // what WinExec returns for a started program

// The program a command line names: the text between its leading quotes, or
// its first word. It is started as named, never looked for: the search of
// an unquoted line tries "C:\Program" before "C:\Program Files\...", and
// adds ".exe", in folders ordinary users can write.
std::string ProgramOf(const std::string& line) {
  if (!line.empty() && line[0] == '"') {
    const std::size_t close = line.find('"', 1);
    return line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
  }
  return line.substr(0, line.find(' '));
}

// Only a fully qualified path names a file: a relative one would be looked
// up in the current folder, which whoever starts the elevated run chooses.
bool IsFullyQualified(const std::string& path) {
  const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  const bool drive = path.size() >= 3 && letter(path[0]) && path[1] == ':' && path[2] == '\\';
  const bool unc = path.size() >= 3 && path[0] == '\\' && path[1] == '\\';
  return drive || unc;
}

// As WinExec reports a failed start: the error code when it is below 32,
// else ERROR_BAD_FORMAT.
std::uint32_t AsStartResult(DWORD error) { return error < 32 ? error : ERROR_BAD_FORMAT; }

// CreateProcess of exactly the program the line names; the line is handed
// over as it stands, so that the program parses its own arguments as ever.
std::uint32_t Create(const char* commandLine, std::uint32_t showCommand, PROCESS_INFORMATION* process) {
  const std::string program = ProgramOf(commandLine);
  if (!IsFullyQualified(program)) return ERROR_FILE_NOT_FOUND;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  std::string line(commandLine);  // CreateProcessA may write into its command line
  if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      process)) {
    return AsStartResult(GetLastError());
  }
  CloseHandle(process->hThread);
  return kStarted;
}

}  // namespace

std::uint32_t Win32ProcessLauncher::Start(const char* commandLine, std::uint32_t showCommand) {
  PROCESS_INFORMATION process{};
  const std::uint32_t result = Create(commandLine, showCommand, &process);
  if (result == kStarted) {
    // As WinExec did: the uninstaller is up (or 30 s have passed) before
    // this program ends, so a caller that waits on us finds it running.
    WaitForInputIdle(process.hProcess, 30000);
    CloseHandle(process.hProcess);
  }
  return result;
}

std::uint32_t Win32ProcessLauncher::RunToEnd(const char* commandLine, std::uint32_t showCommand,
                                             std::uint32_t* exitCode) {
  PROCESS_INFORMATION process{};
  const std::uint32_t result = Create(commandLine, showCommand, &process);
  if (result != kStarted) return result;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  *exitCode = code;
  return kStarted;
}

// A folder where the program should be is refused by CreateProcess as
// access denied; a missing folder on the way is another error than a
// missing program.
std::uint32_t Win32ProcessLauncher::MayStart(const char* commandLine) {
  const std::string program = ProgramOf(commandLine);
  if (!IsFullyQualified(program)) return ERROR_FILE_NOT_FOUND;
  const DWORD attributes = GetFileAttributesA(program.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return AsStartResult(GetLastError());
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ERROR_ACCESS_DENIED : kStarted;
}

}  // namespace tw
