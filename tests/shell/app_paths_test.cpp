// Application-path registrations of the family's executables.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/support/registry_probe.h"
#include "tests/support/test_platform.h"

namespace tw::test {
namespace {

const std::string kAppPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
const std::string kEngineDirectories = Family("Engine\\Directories");
constexpr const char* kBin = "C:\\Program Files\\Talkwise\\Bin";
const std::vector<std::string> kFamilyExecutables = {"speakfit.exe", "recogsrv.exe", "notepane.exe", "quickcmd.exe",
                                                     "twvocab.exe"};
const std::vector<std::string> kOthers = {"other.exe", "speakfit.exe.bak", "editor.exe"};

class AppPathsTest : public ::testing::Test {
 protected:
  void SetUp() override { platform.LoadFixture("app_paths.reg"); }

  void Remove() {
    platform.MakeApp("")->RemoveAppPaths();
    EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
  }
  bool Registered(const std::string& executable) {
    return KeyExists(platform.registry, kHkeyLocalMachine, kAppPaths + executable);
  }
  void SetPath(const std::string& executable, const std::string& path) {
    WriteText(platform.registry, kHkeyLocalMachine, kAppPaths + executable, "Path", path);
  }

  TestPlatform platform;
};

TEST_F(AppPathsTest, RegistrationsOfTheEngineDirectoryGoAndOthersStay) {
  Remove();
  for (const auto& executable : kFamilyExecutables) EXPECT_FALSE(Registered(executable)) << executable;
  for (const auto& executable : kOthers) EXPECT_TRUE(Registered(executable)) << executable;
}

struct RegisteredPathCase {
  const char* name;
  std::optional<std::string> path;  // none: the registration has no "Path"
};

class DifferingRegistrationTest : public AppPathsTest, public ::testing::WithParamInterface<RegisteredPathCase> {};

// Each case is put on one executable in turn; the others still match and go.
TEST_P(DifferingRegistrationTest, StaysWhileTheMatchingOnesGo) {
  for (const auto& differing : kFamilyExecutables) {
    TestPlatform fresh;
    fresh.LoadFixture("app_paths.reg");
    const std::string key = kAppPaths + differing;
    if (GetParam().path) {
      WriteText(fresh.registry, kHkeyLocalMachine, key, "Path", *GetParam().path);
    } else {
      RegKey handle = 0;
      ASSERT_EQ(fresh.registry.OpenKey(kHkeyLocalMachine, key.c_str(), kKeyAllAccess, &handle), kErrorSuccess);
      fresh.registry.DeleteValue(handle, "Path");
      fresh.registry.CloseKey(handle);
    }
    fresh.MakeApp("")->RemoveAppPaths();
    for (const auto& executable : kFamilyExecutables) {
      EXPECT_EQ(KeyExists(fresh.registry, kHkeyLocalMachine, kAppPaths + executable), executable == differing)
          << executable << " with " << differing << " differing";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DifferingRegistrationTest,
    ::testing::Values(RegisteredPathCase{"OtherCase", std::string("C:\\Program Files\\TALKWISE\\Bin")},
                      RegisteredPathCase{"TrailingBackslash", std::string("C:\\Program Files\\Talkwise\\Bin\\")},
                      RegisteredPathCase{"Elsewhere", std::string("D:\\Tools")},
                      RegisteredPathCase{"Empty", std::string()},
                      RegisteredPathCase{"TooLong", std::string(kBin) + std::string(240, 'x')},
                      RegisteredPathCase{"NoPath", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct UnreadableDirectoryCase {
  const char* name;
  std::optional<std::string> bin;  // none: no "Bin" value
};

class UnreadableEngineDirectoryTest : public AppPathsTest,
                                      public ::testing::WithParamInterface<UnreadableDirectoryCase> {};

// Without a directory that was read, nothing is compared: not even a
// registration whose "Path" is empty, as another program may have left it.
TEST_P(UnreadableEngineDirectoryTest, LeavesEveryRegistration) {
  RegKey handle = 0;
  ASSERT_EQ(platform.registry.OpenKey(kHkeyLocalMachine, kEngineDirectories.c_str(), kKeyAllAccess, &handle),
            kErrorSuccess);
  platform.registry.DeleteValue(handle, "Bin");
  platform.registry.CloseKey(handle);
  if (GetParam().bin) WriteText(platform.registry, kHkeyLocalMachine, kEngineDirectories, "Bin", *GetParam().bin);
  SetPath("speakfit.exe", "");
  const std::string before = platform.Snapshot();
  Remove();
  EXPECT_EQ(platform.Snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(Directories, UnreadableEngineDirectoryTest,
                         ::testing::Values(UnreadableDirectoryCase{"Missing", std::nullopt},
                                           UnreadableDirectoryCase{"Empty", std::string()},
                                           UnreadableDirectoryCase{"TooLong", std::string(260, 'x')}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AppPathsTest, MissingEngineKeyLeavesEveryRegistration) {
  platform.LoadRegText("REGEDIT4\n\n[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Talkwise\\Engine]\n");
  SetPath("speakfit.exe", "");
  const std::string before = platform.Snapshot();
  Remove();
  EXPECT_EQ(platform.Snapshot(), before);
}

TEST_F(AppPathsTest, RegistrationWithSubkeysStaysAndTheRestAreStillJudged) {
  WriteText(platform.registry, kHkeyLocalMachine, kAppPaths + "recogsrv.exe\\SupportedProtocols", "x", "y");
  Remove();
  EXPECT_TRUE(Registered("recogsrv.exe"));
  for (const char* executable : {"speakfit.exe", "notepane.exe", "quickcmd.exe", "twvocab.exe"}) {
    EXPECT_FALSE(Registered(executable)) << executable;
  }
}

TEST_F(AppPathsTest, DirectoryThatFillsItsBufferStillMatchesExactly) {
  const std::string longest(259, 'D');
  WriteText(platform.registry, kHkeyLocalMachine, kEngineDirectories, "Bin", longest);
  SetPath("notepane.exe", longest);
  SetPath("twvocab.exe", longest.substr(0, 258));
  Remove();
  EXPECT_FALSE(Registered("notepane.exe"));
  EXPECT_TRUE(Registered("twvocab.exe"));
  EXPECT_TRUE(Registered("speakfit.exe"));
}

}  // namespace
}  // namespace tw::test
