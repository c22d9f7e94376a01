// Plants in the prefix's registry what reg.exe cannot make, and takes it
// away again, for the hostile-registry cases:
//   plant_registry link   ROOT\PARENT NAME ROOT\TARGET   a registry link
//   plant_registry key    ROOT\PARENT NAME               a subkey
//   plant_registry value  ROOT\KEY NAME TEXT             a REG_SZ value
//   plant_registry remove ROOT\PARENT NAME               deletes the key (a link itself)
//   plant_registry save   ROOT\PARENT NAME FILE          saves the key as a hive file (RegSaveKey),
//       as a logged-off user's NTUSER.DAT is
//   plant_registry race   ROOT\PARENT NAME ROOT\TARGET   waits until a subkey of NAME\A has
//       gone (a walk deleting the tree has begun), then renames NAME aside
//       ("aside NAME") and puts a link to TARGET in its place
// ROOT is HKLM, HKCU or HKU; "\0" in NAME stands for a NUL character. The exit
// status is the Win32 error (0 on success).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/win32/native_registry.h"

namespace {

using tw::RegKey;

bool SplitRoot(const std::string& path, RegKey* root, std::string* rest) {
  const std::size_t slash = path.find('\\');
  const std::string name = path.substr(0, slash);
  if (name == "HKLM") {
    *root = tw::kHkeyLocalMachine;
  } else if (name == "HKCU") {
    *root = tw::kHkeyCurrentUser;
  } else if (name == "HKU") {
    *root = tw::kHkeyUsers;
  } else {
    return false;
  }
  *rest = slash == std::string::npos ? std::string() : path.substr(slash + 1);
  return true;
}

std::string Unescape(const char* text) {
  std::string name;
  for (const char* p = text; *p; ++p) {
    if (p[0] == '\\' && p[1] == '0') {
      name += '\0';
      ++p;
    } else {
      name += *p;
    }
  }
  return name;
}

// Polls NAME\A's count of subkeys until it drops (for at most a minute).
LONG AwaitWalk(HKEY parent, const std::string& name) {
  HKEY watched = nullptr;
  LONG status = RegOpenKeyExA(parent, (name + "\\A").c_str(), 0, KEY_READ, &watched);
  if (status != ERROR_SUCCESS) return status;
  DWORD first = 0;
  DWORD now = 0;
  status = RegQueryInfoKeyA(watched, nullptr, nullptr, nullptr, &first, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr);
  const DWORD start = GetTickCount();
  for (now = first; status == ERROR_SUCCESS && now == first && GetTickCount() - start < 60000;) {
    Sleep(0);
    status = RegQueryInfoKeyA(watched, nullptr, nullptr, nullptr, &now, nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr);
  }
  RegCloseKey(watched);
  std::printf("walk seen: %lu of %lu subkeys of A left\n", static_cast<unsigned long>(now),
              static_cast<unsigned long>(first));
  return status == ERROR_SUCCESS && now == first ? static_cast<LONG>(ERROR_TIMEOUT) : ERROR_SUCCESS;
}

}  // namespace

// RegSaveKey needs the backup privilege enabled.
LONG SaveHive(HKEY parent, const std::string& name, const char* file) {
  HANDLE token = nullptr;
  TOKEN_PRIVILEGES backup{1, {{{0, 0}, SE_PRIVILEGE_ENABLED}}};
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)) {
    if (LookupPrivilegeValueA(nullptr, "SeBackupPrivilege", &backup.Privileges[0].Luid)) {
      AdjustTokenPrivileges(token, FALSE, &backup, 0, nullptr, nullptr);
    }
    CloseHandle(token);
  }
  HKEY key = nullptr;
  LONG status = RegOpenKeyExA(parent, name.c_str(), 0, KEY_READ, &key);
  if (status != ERROR_SUCCESS) return status;
  status = RegSaveKeyA(key, file, nullptr);
  RegCloseKey(key);
  return status;
}

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: plant_registry link|key|value|remove|race|save ROOT\\KEY NAME [TARGET|TEXT|FILE]\n");
    return ERROR_INVALID_PARAMETER;
  }
  const std::string command = argv[1];
  RegKey root = 0;
  std::string path;
  if (!SplitRoot(argv[2], &root, &path)) return ERROR_INVALID_PARAMETER;
  HKEY key = nullptr;
  const HKEY rootKey = root == tw::kHkeyLocalMachine ? HKEY_LOCAL_MACHINE
                       : root == tw::kHkeyUsers     ? HKEY_USERS
                                                    : HKEY_CURRENT_USER;
  LONG status = RegOpenKeyExA(rootKey, path.c_str(), REG_OPTION_OPEN_LINK, KEY_ALL_ACCESS, &key);
  if (status != ERROR_SUCCESS) return static_cast<int>(status);
  const RegKey parent = reinterpret_cast<RegKey>(key);
  const std::string name = Unescape(argv[3]);
  if (command == "link" && argc == 5) {
    RegKey targetRoot = 0;
    std::string targetPath;
    status = SplitRoot(argv[4], &targetRoot, &targetPath) ? tw::test::NativeCreateLink(parent, name, targetRoot, targetPath)
                                                          : ERROR_INVALID_PARAMETER;
  } else if (command == "key") {
    status = tw::test::NativeCreateKey(parent, name);
  } else if (command == "value" && argc == 5) {
    const std::vector<std::uint8_t> text(argv[4], argv[4] + std::strlen(argv[4]) + 1);
    status = tw::test::NativeSetValue(parent, name, REG_SZ, text);
  } else if (command == "race" && argc == 5) {
    RegKey targetRoot = 0;
    std::string targetPath;
    status = SplitRoot(argv[4], &targetRoot, &targetPath) ? AwaitWalk(key, name) : ERROR_INVALID_PARAMETER;
    // A new name that sorts right after the old one meets a fault of Wine 8.0's
    // server (the key takes its next sibling's place); one sorting first does not.
    if (status == ERROR_SUCCESS) status = tw::test::NativeRenameKey(parent, name, "aside " + name);
    if (status == ERROR_SUCCESS) status = tw::test::NativeCreateLink(parent, name, targetRoot, targetPath);
  } else if (command == "save" && argc == 5) {
    status = SaveHive(key, name, argv[4]);
  } else if (command == "remove") {
    status = tw::test::NativeDeleteKey(parent, name);
  } else {
    status = ERROR_INVALID_PARAMETER;
  }
  RegCloseKey(key);
  return static_cast<int>(status);
}
