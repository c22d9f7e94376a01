// A user's pipe server for the hostile tier: pipe_server NAME SECONDS serves
// \\.\pipe\NAME, records "listening" once it does, then waits that long for
// one client. A client that comes is impersonated and what that gave is
// recorded: "client impersonation=<level>" (SecurityAnonymous 0,
// Identification 1, Impersonation 2, Delegation 3) or "client
// impersonation-failed=<error>"; none: "no client". Records go to
// pipe-server-calls.txt beside the program.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "record_file.h"

namespace {

void RecordImpersonation(HANDLE pipe) {
  if (!ImpersonateNamedPipeClient(pipe)) {
    AppendRecord("pipe-server-calls.txt", "client impersonation-failed=%lu", GetLastError());
    return;
  }
  HANDLE token = nullptr;
  SECURITY_IMPERSONATION_LEVEL level = SecurityAnonymous;
  DWORD size = 0;
  const bool known = OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token) &&
                     GetTokenInformation(token, TokenImpersonationLevel, &level, sizeof level, &size);
  const DWORD error = GetLastError();
  if (token != nullptr) CloseHandle(token);
  RevertToSelf();
  if (known) {
    AppendRecord("pipe-server-calls.txt", "client impersonation=%d", static_cast<int>(level));
  } else {
    AppendRecord("pipe-server-calls.txt", "client token-unreadable=%lu", error);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const std::string name = std::string("\\\\.\\pipe\\") + argv[1];
  const DWORD waitMs = static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)) * 1000;
  const HANDLE pipe = CreateNamedPipeA(name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                                       PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr);
  if (pipe == INVALID_HANDLE_VALUE) return 1;
  OVERLAPPED overlapped{};
  overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!AppendRecord("pipe-server-calls.txt", "listening")) return 1;
  bool connected = ConnectNamedPipe(pipe, &overlapped) != FALSE;
  if (!connected) {
    const DWORD error = GetLastError();
    connected = error == ERROR_PIPE_CONNECTED ||
                (error == ERROR_IO_PENDING && WaitForSingleObject(overlapped.hEvent, waitMs) == WAIT_OBJECT_0);
  }
  if (connected) {
    RecordImpersonation(pipe);
  } else {
    AppendRecord("pipe-server-calls.txt", "no client");
  }
  CloseHandle(overlapped.hEvent);
  CloseHandle(pipe);
  return 0;
}
