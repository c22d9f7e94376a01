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

OwnedHandle FindUnelevatedToken() {
  const OwnedHandle own = OpenToken(GetCurrentProcess(), TOKEN_QUERY);
  if (!own || !ElevatedThroughUac(own.get())) return nullptr;
  TOKEN_LINKED_TOKEN linked{};
  DWORD size = 0;
  if (GetTokenInformation(own.get(), TokenLinkedToken, &linked, sizeof linked, &size)) {
    OwnedHandle token = Own(linked.LinkedToken);
    if (token && CanImpersonate(token.get())) return token;
  }
  return ShellToken(own.get());
}

// Looked for once: the process's elevation does not change while it runs.
HANDLE UnelevatedToken() {
  static const OwnedHandle token = FindUnelevatedToken();
  return token.get();
}

}  // namespace

UserRights::UserRights() {
  const HANDLE token = UnelevatedToken();
  impersonating_ = token != nullptr && ImpersonateLoggedOnUser(token);
}

UserRights::~UserRights() {
  if (impersonating_) RevertToSelf();
}

}  // namespace tw
