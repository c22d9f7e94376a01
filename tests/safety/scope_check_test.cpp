// The scope check must see every kind of change that it is there to catch.
#include <gtest/gtest.h>

#include "tests/support/registry_probe.h"
#include "tests/support/scope_check.h"
#include "tests/support/test_platform.h"

namespace tw::test {
namespace {

class ScopeCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform.LoadFixture("family_installed.reg");
    before = CaptureRegistry(platform.registry);
  }

  std::vector<std::string> Changes(const char* languageCode = "EN_US") {
    return RegistryChangesOutsideScope(before, CaptureRegistry(platform.registry), languageCode);
  }

  void Delete(RegKey root, const std::string& path) {
    RegKey key = 0;
    ASSERT_EQ(platform.registry.OpenKey(root, path.c_str(), kKeyAllAccess, &key), kErrorSuccess) << path;
    platform.registry.DeleteKey(key, "");
    platform.registry.CloseKey(key);
  }

  void DeleteValue(RegKey root, const std::string& path, const char* name) {
    RegKey key = 0;
    ASSERT_EQ(platform.registry.OpenKey(root, path.c_str(), kKeyAllAccess, &key), kErrorSuccess) << path;
    EXPECT_EQ(platform.registry.DeleteValue(key, name), kErrorSuccess);
    platform.registry.CloseKey(key);
  }

  TestPlatform platform;
  RegistryImage before;
};

TEST_F(ScopeCheckTest, ChangesInsideTheScopeAreAllowed) {
  platform.registry.SetDeletesWholeTree(true);
  Delete(kHkeyLocalMachine, "SOFTWARE\\Corvane\\Talkwise");
  DeleteValue(kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\Help", "twcus.hlp");
  DeleteValue(kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\Help", "diktatde.hlp");
  WriteText(platform.registry, kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\Help", "new.hlp",
            "c:\\program files\\talkwise\\help\\TWC");
  Delete(kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\speakfit.exe");
  Delete(kHkeyCurrentUser, "AppEvents\\EventLabels\\Start Dictation US");
  Delete(kHkeyCurrentUser, "AppEvents\\Schemes\\Apps\\Talkwise\\Stop Dictation US");
  EXPECT_TRUE(Changes().empty());
}

TEST_F(ScopeCheckTest, ChangesOutsideTheScopeAreEachReported) {
  platform.registry.SetDeletesWholeTree(true);
  Delete(kHkeyLocalMachine, "SOFTWARE\\Corvane\\TalkwiseExtra");
  DeleteValue(kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\Help", "notepad.hlp");
  DeleteValue(kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\Help", "twhelper.hlp");
  WriteText(platform.registry, kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\Help", "twlitus.hlp",
            "C:\\Windows");
  Delete(kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\quickcmd.exe");
  Delete(kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\wordpad.exe");
  Delete(kHkeyCurrentUser, "AppEvents\\EventLabels\\Start Dictation DE");
  Delete(kHkeyCurrentUser, "AppEvents\\Schemes\\Apps\\.Default");
  WriteDword(platform.registry, kHkeyCurrentUser,
             "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Extra", 1);
  WriteDword(platform.registry, kHkeyCurrentUser, "Software\\New", "Extra", 1);
  EXPECT_EQ(Changes().size(), 12u) << ::testing::PrintToString(Changes());
}

TEST_F(ScopeCheckTest, SoundEventsOfOtherLanguagesAreOutOfScope) {
  Delete(kHkeyCurrentUser, "AppEvents\\EventLabels\\Stop Dictation US");
  EXPECT_TRUE(Changes("EN_US").empty());
  EXPECT_EQ(Changes("DE_DE").size(), 1u);
}

TEST(DiskImageTest, ReportsRemovedChangedAndAddedEntriesOutsideExcludedTrees) {
  TestPlatform platform;
  platform.WriteFile("C:\\Keep\\a.txt", "a");
  platform.WriteFile("C:\\Keep\\b.txt", "b");
  platform.WriteFile("C:\\Free\\c.txt", "c");
  const std::vector<std::filesystem::path> excluded = {platform.Host("C:\\Free")};
  const DiskImage before = CaptureDisk(platform.drives.Path(), excluded);
  std::filesystem::remove(platform.Host("C:\\Keep\\a.txt"));
  platform.WriteFile("C:\\Keep\\b.txt", "changed");
  platform.WriteFile("C:\\Keep\\d.txt", "new");
  std::filesystem::remove_all(platform.Host("C:\\Free"));
  EXPECT_EQ(DiskChanges(before, CaptureDisk(platform.drives.Path(), excluded)).size(), 3u);
}

}  // namespace
}  // namespace tw::test
