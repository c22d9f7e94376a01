#include "platform/win32/win32_user_folders.h"

#include <windows.h>

#include <sddl.h>

#include "platform/win32/exact_path.h"
#include "platform/win32/machine_environment.h"
#include "platform/win32/user_rights.h"
#include "platform/win32/wide_text.h"

namespace tw {
namespace {

constexpr wchar_t kProfileList[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\";

// The process's own user: the one whose hive HKEY_CURRENT_USER is.
WideText TokenUserSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return WideText();
  BYTE user[SECURITY_MAX_SID_SIZE + sizeof(TOKEN_USER)];
  DWORD size = 0;
  wchar_t* text = nullptr;
  const bool known = GetTokenInformation(token, TokenUser, user, sizeof user, &size) &&
                     ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user)->User.Sid, &text);
  CloseHandle(token);
  if (!known) return WideText();
  WideText sid(text);
  LocalFree(text);
  return sid;
}

// "ProfileImagePath" of the SID, its variables expanded with the machine's
// values only; empty when that cannot be done.
WideText ProfileImagePath(const WideText& sid) {
  HKEY key = nullptr;
  const WideText keyPath = kProfileList + sid;
  if (sid.empty() || RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return WideText();
  }
  wchar_t stored[MAX_PATH + 1] = {};
  DWORD type = REG_NONE;
  DWORD size = MAX_PATH * sizeof(wchar_t);
  const LONG status = RegQueryValueExW(key, L"ProfileImagePath", nullptr, &type, reinterpret_cast<BYTE*>(stored), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return WideText();
  return ExpandWithMachineVariables(WideText(stored));
}

// 8.3 short names of the final path in their long form.
WideText LongForm(const WideText& path) {
  WideText full(MAX_PATH, L'\0');
  DWORD length = GetLongPathNameW(path.c_str(), full.data(), static_cast<DWORD>(full.size()));
  if (length >= full.size()) {
    full.resize(length + 1);
    length = GetLongPathNameW(path.c_str(), full.data(), static_cast<DWORD>(full.size()));
  }
  full.resize(length < full.size() ? length : 0);
  return full;
}

std::optional<std::string> FinalFolderPathOf(const WideText& path) {
  if (path.empty()) return std::nullopt;
  const HANDLE folder = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | kIdentifyOnly, nullptr);
  if (folder == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info;
  const bool isFolder =
      GetFileInformationByHandle(folder, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const WideText final = isFolder ? FinalPathOf(folder) : WideText();
  CloseHandle(folder);
  const WideText longForm = final.empty() ? final : LongForm(final);
  if (longForm.empty()) return std::nullopt;
  return NarrowExactly(longForm.c_str());
}

}  // namespace

std::optional<std::string> Win32UserFolders::ProfileFolder() {
  return FinalFolderPathOf(ProfileImagePath(enteredSid_.empty() ? TokenUserSid() : WidenFromActiveCodePage(enteredSid_.c_str())));
}

std::optional<std::string> Win32UserFolders::FinalFolderPath(const std::string& path) {
  return FinalFolderPathOf(WidenFromActiveCodePage(path.c_str()));
}

bool Win32UserFolders::UserRightsHeld() { return UserRights().Held(); }

std::string Win32UserFolders::AccountSid() { return NarrowExactly(TokenUserSid().c_str()).value_or(std::string()); }

void Win32UserFolders::Enter(const UserAccount& account) {
  enteredSid_ = account.sid;
  SetOtherUsersFolders(!account.sid.empty());
}

}  // namespace tw
