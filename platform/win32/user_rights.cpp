#include "platform/win32/user_rights.h"

#include <windows.h>

#include <memory>

namespace tw {
namespace {

struct HandleCloser {
  void operator()(void* handle) const { CloseHandle(handle); }
};
using OwnedHandle = std::unique_ptr<void, HandleCloser>;

OwnedHandle Own(HANDLE handle) { return OwnedHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle); }

OwnedHandle OpenToken(HANDLE process, DWORD access) {
  HANDLE token = nullptr;
  return OpenProcessToken(process, access, &token) ? Own(token) : nullptr;
}

bool ElevatedThroughUac(HANDLE token) {
  TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
  DWORD size = 0;
  return GetTokenInformation(token, TokenElevationType, &type, sizeof type, &size) && type == TokenElevationTypeFull;
}

bool CanImpersonate(HANDLE token) {
  SECURITY_IMPERSONATION_LEVEL level = SecurityAnonymous;
  DWORD size = 0;
  return GetTokenInformation(token, TokenImpersonationLevel, &level, sizeof level, &size) &&
         level >= SecurityImpersonation;
}

// Whether files can be opened while impersonating the token. One at the
// identification level lets the impersonation begin, but Windows then fails
// every open (ERROR_BAD_IMPERSONATION_LEVEL); Wine gives the linked token that
// level and lets it work.
bool WorksForFiles(HANDLE token) {
  if (CanImpersonate(token)) return true;
  wchar_t system[MAX_PATH];
  const UINT length = GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH || !ImpersonateLoggedOnUser(token)) return false;
  const HANDLE folder = CreateFileW(system, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  RevertToSelf();
  if (folder == INVALID_HANDLE_VALUE) return false;
  CloseHandle(folder);
  return true;
}

bool SameUser(HANDLE first, HANDLE second) {
  BYTE firstUser[SECURITY_MAX_SID_SIZE + sizeof(TOKEN_USER)];
  BYTE secondUser[SECURITY_MAX_SID_SIZE + sizeof(TOKEN_USER)];
  DWORD size = 0;
  return GetTokenInformation(first, TokenUser, firstUser, sizeof firstUser, &size) &&
         GetTokenInformation(second, TokenUser, secondUser, sizeof secondUser, &size) &&
         EqualSid(reinterpret_cast<TOKEN_USER*>(firstUser)->User.Sid, reinterpret_cast<TOKEN_USER*>(secondUser)->User.Sid);
}

// Without the trusted-computing-base privilege the linked token only
// identifies the user; the shell runs with the same unelevated token.
OwnedHandle ShellToken(HANDLE ownToken) {
  DWORD processId = 0;
  const HWND shell = GetShellWindow();
  if (shell == nullptr || GetWindowThreadProcessId(shell, &processId) == 0) return nullptr;
  const OwnedHandle process = Own(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  const OwnedHandle token = process ? OpenToken(process.get(), TOKEN_DUPLICATE | TOKEN_QUERY) : nullptr;
  if (!token || ElevatedThroughUac(token.get()) || !SameUser(token.get(), ownToken)) return nullptr;
  HANDLE duplicate = nullptr;
  if (!DuplicateTokenEx(token.get(), TOKEN_IMPERSONATE | TOKEN_QUERY, nullptr, SecurityImpersonation, TokenImpersonation,
                        &duplicate)) {
    return nullptr;
  }
  return Own(duplicate);
}

// An unknown elevation counts as one: the rights then fail closed.
bool FindElevationThroughUac() {
  const OwnedHandle own = OpenToken(GetCurrentProcess(), TOKEN_QUERY);
  return !own || ElevatedThroughUac(own.get());
}

OwnedHandle FindUnelevatedToken() {
  const OwnedHandle own = OpenToken(GetCurrentProcess(), TOKEN_QUERY);
  if (!own || !ElevatedThroughUac(own.get())) return nullptr;
  TOKEN_LINKED_TOKEN linked{};
  DWORD size = 0;
  if (GetTokenInformation(own.get(), TokenLinkedToken, &linked, sizeof linked, &size)) {
    OwnedHandle token = Own(linked.LinkedToken);
    if (token && WorksForFiles(token.get())) return token;
  }
  return ShellToken(own.get());
}

// Looked for once: the process's elevation does not change while it runs.
HANDLE UnelevatedToken() {
  static const OwnedHandle token = FindUnelevatedToken();
  return token.get();
}

bool ProcessElevatedThroughUac() {
  static const bool elevated = FindElevationThroughUac();
  return elevated;
}

bool& OtherUsersFolders() {
  static bool other = false;
  return other;
}

}  // namespace

void SetOtherUsersFolders(bool other) { OtherUsersFolders() = other; }

UserRights::UserRights() {
  if (OtherUsersFolders()) {
    held_ = true;
    return;
  }
  const HANDLE token = UnelevatedToken();
  impersonating_ = token != nullptr && ImpersonateLoggedOnUser(token);
  held_ = impersonating_ || !ProcessElevatedThroughUac();
}

UserRights::~UserRights() {
  if (impersonating_) RevertToSelf();
}

}  // namespace tw
