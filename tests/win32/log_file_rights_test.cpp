// The change log of an elevated run: a new file gets rights only SYSTEM and
// Administrators have; an existing one owned by an ordinary user is refused.
#include <windows.h>
#include <aclapi.h>

#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_log_file.h"
#include "tests/win32/scratch_folder.h"

namespace tw::win32test {
namespace {

bool Elevated() {
  HANDLE token = nullptr;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  const bool elevated = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
                        elevation.TokenIsElevated != 0;
  CloseHandle(token);
  return elevated;
}

// What the file's DACL allows the well-known SIDs of the given kinds, from its ACEs.
ACCESS_MASK RightsOf(const std::string& path, std::initializer_list<WELL_KNOWN_SID_TYPE> kinds) {
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  const WideText wide = WidenFromActiveCodePage(path.c_str());
  EXPECT_EQ(GetNamedSecurityInfoW(wide.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                  nullptr, &descriptor),
            static_cast<DWORD>(ERROR_SUCCESS));
  ACCESS_MASK rights = 0;
  for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i) {
    ACCESS_ALLOWED_ACE* ace = nullptr;
    if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace)) || ace->Header.AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
    for (const WELL_KNOWN_SID_TYPE kind : kinds) {
      if (IsWellKnownSid(&ace->SidStart, kind)) rights |= ace->Mask;
    }
  }
  LocalFree(descriptor);
  return rights;
}

// Ordinary users get no right at all: one who may read the log may also hold
// it open without write sharing and so stop every later run.
TEST(LogFileRightsTest, ElevatedRunsMakeLogsUsersCannotOpenAndRefuseTheirs) {
  if (!Elevated()) GTEST_SKIP() << "the process is not elevated";
  ScratchFolder folder;
  {
    Win32LogFile log;
    ASSERT_EQ(log.Open((folder / "new.log").c_str()), kErrorSuccess);
  }
  // Wine keeps no rights given at creation: it shows none for Administrators.
  if ((RightsOf(folder / "new.log", {WinBuiltinAdministratorsSid}) & FILE_ALL_ACCESS) != FILE_ALL_ACCESS) {
    GTEST_SKIP() << "the system keeps no rights a file is made with";
  }
  EXPECT_EQ(RightsOf(folder / "new.log",
                     {WinBuiltinUsersSid, WinAuthenticatedUserSid, WinWorldSid, WinInteractiveSid}),
            0u);

  std::ofstream(folder / "theirs.log") << "planted";
  const WideText theirs = WidenFromActiveCodePage((folder / "theirs.log").c_str());
  BYTE users[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof users;
  ASSERT_TRUE(CreateWellKnownSid(WinBuiltinUsersSid, nullptr, users, &size));
  const DWORD owned = SetNamedSecurityInfoW(const_cast<wchar_t*>(theirs.c_str()), SE_FILE_OBJECT,
                                            OWNER_SECURITY_INFORMATION, users, nullptr, nullptr, nullptr);
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  const bool kept = owned == ERROR_SUCCESS &&
                    GetNamedSecurityInfoW(theirs.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                                          nullptr, nullptr, &descriptor) == ERROR_SUCCESS &&
                    EqualSid(owner, users);
  LocalFree(descriptor);
  if (!kept) GTEST_SKIP() << "the system keeps no owner Users for a file (error " << owned << ")";
  Win32LogFile log;
  EXPECT_EQ(log.Open((folder / "theirs.log").c_str()), kErrorAccessDenied);
  std::ifstream in(folder / "theirs.log");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "planted");
}

}  // namespace
}  // namespace tw::win32test
