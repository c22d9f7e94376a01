// Folder and shortcut names come from the family's tree and the programs
// directory from the user's hive: no value, however odd, leads a delete
// outside the program folder. The registry bookkeeping goes on regardless.
#include <gtest/gtest.h>

#include "tests/support/registry_probe.h"
#include "tests/support/start_menu_test.h"

namespace tw::test {
namespace {

const std::string kLanguage = Family("Install\\Languages\\EN_US");
const std::string kCounters = kLanguage + "\\Folders\\Talkwise Dictation";
const std::string kFolder = "C:\\Users\\Ann\\Start Menu\\Programs\\Talkwise Dictation";
constexpr const char* kLite = "ProdTWDLite D en_us C:\\u.exe log";

class UnsafeNamesTest : public StartMenuTest {
 protected:
  void SetUp() override {
    platform.LoadFixture("shortcuts.reg");
    for (const char* name : {"Begin Here", "Dictate", "Train", "Command"}) platform.WriteFile(kFolder + "\\" + name + ".lnk");
    for (const char* sentinel :
         {"C:\\Victim.lnk", "C:\\Users\\Victim.lnk", "C:\\Users\\Ann\\Start Menu\\Victim.lnk",
          "C:\\Users\\Ann\\Start Menu\\Programs\\Dictate.lnk", "C:\\Users\\Ann\\Start Menu\\Programs\\Talkwise\\Read Me.lnk"}) {
      platform.WriteFile(sentinel);
    }
  }

  // The shared release's use of ReleaseShortcuts and RemoveProgramFolder.
  int ReleaseAndRemove() {
    auto app = MakeApp(kLite);
    std::string folder;
    const int result = app->ReleaseShortcuts(folder);
    if (result == 0) app->RemoveProgramFolder(folder);
    EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
    return result;
  }
  // The full removal's: the language's default folder.
  void RemoveDefaultFolder() { MakeApp(kLite)->RemoveProgramFolder(""); }
};

class UnsafeShortcutNameTest : public UnsafeNamesTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(UnsafeShortcutNameTest, IsReleasedInTheRegistryOnly) {
  WriteText(platform.registry, kHkeyLocalMachine, kLanguage + "\\ProdTWDLiteObjs", GetParam(), "Help");
  WriteDword(platform.registry, kHkeyLocalMachine, kCounters, GetParam(), 1);
  std::set<std::string> expected = DiskContents();
  for (const char* deleted : {"Dictate.lnk", "Train.lnk"}) expected.erase(ContentsEntry(kFolder + "\\" + deleted));

  EXPECT_EQ(ReleaseAndRemove(), 1);
  EXPECT_FALSE(DwordValue(platform.registry, kHkeyLocalMachine, kCounters, GetParam()).has_value());
  EXPECT_EQ(watched.changes, (std::vector<std::string>{"RemoveFile " + kFolder + "\\Dictate.lnk",
                                                       "RemoveFile " + kFolder + "\\Train.lnk"}));
  EXPECT_EQ(DiskContents(), expected);
}

INSTANTIATE_TEST_SUITE_P(Names, UnsafeShortcutNameTest,
                         ::testing::Values("", ".", "..", "...", " ", ". .", "..\\Dictate", "..\\..\\Victim",
                                           "..\\..\\..\\..\\..\\Victim", "../../Victim", "C:\\Victim", "C:Victim",
                                           "\\Victim"));

class UnsafeFolderNameTest : public UnsafeNamesTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(UnsafeFolderNameTest, IsReleasedInTheRegistryOnly) {
  const std::string counters = kLanguage + "\\Folders\\" + GetParam();
  WriteText(platform.registry, kHkeyLocalMachine, kLanguage, "ProdTWDLiteFolder", GetParam());
  WriteText(platform.registry, kHkeyLocalMachine, kLanguage, "FolderName", GetParam());
  WriteDword(platform.registry, kHkeyLocalMachine, counters, "Dictate", 1);
  const std::set<std::string> before = DiskContents();

  EXPECT_EQ(ReleaseAndRemove(), 0);
  RemoveDefaultFolder();
  EXPECT_FALSE(DwordValue(platform.registry, kHkeyLocalMachine, counters, "Dictate").has_value());
  EXPECT_TRUE(watched.changes.empty());
  EXPECT_EQ(DiskContents(), before);
}

INSTANTIATE_TEST_SUITE_P(Names, UnsafeFolderNameTest,
                         ::testing::Values(".", "..", "...", " ", ". .", "..\\..", "Talkwise\\..", "a/../..",
                                           "C:\\Users", "C:", "Talkwise Dictation\\..\\.."));

class UnsafeProgramsDirectoryTest : public UnsafeNamesTest,
                                    public ::testing::WithParamInterface<std::optional<std::string>> {};

TEST_P(UnsafeProgramsDirectoryTest, DeletesNothingOnDisk) {
  if (GetParam()) {
    SetProgramsDirectory(*GetParam());
  } else {
    platform.LoadRegText(
        "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\n"
        "\"Programs\"=-\n");
  }
  WriteText(platform.registry, kHkeyLocalMachine, kLanguage, "FolderName", "Talkwise Dictation");
  const std::set<std::string> before = DiskContents();
  ReleaseAndRemove();
  RemoveDefaultFolder();
  EXPECT_FALSE(DwordValue(platform.registry, kHkeyLocalMachine, kCounters, "Dictate").has_value());
  EXPECT_TRUE(watched.changes.empty());
  EXPECT_EQ(DiskContents(), before);
}

INSTANTIATE_TEST_SUITE_P(Directories, UnsafeProgramsDirectoryTest,
                         ::testing::Values(std::nullopt, "", "Programs", "Start Menu\\Programs",
                                           "\\Users\\Ann\\Start Menu\\Programs", "C:Users\\Ann\\Start Menu\\Programs",
                                           "C:/Users/Ann/Start Menu/Programs", "..\\..", "1:\\Users", "\\\\\\Users",
                                           "C:"));

TEST_F(UnsafeNamesTest, NetworkProgramsDirectoryIsUsed) {
  SetProgramsDirectory("\\\\FILES\\Profiles\\Ann\\Programs");
  ReleaseAndRemove();
  EXPECT_EQ(watched.changes,
            (std::vector<std::string>{"RemoveFile \\\\FILES\\Profiles\\Ann\\Programs\\Talkwise Dictation\\Dictate.lnk",
                                      "RemoveFile \\\\FILES\\Profiles\\Ann\\Programs\\Talkwise Dictation\\Train.lnk"}));
}

TEST_F(UnsafeNamesTest, ShortcutPathBeyondMaxPathIsPassedOver) {
  TW_NEEDS_OVERLONG_PATHS();
  SetProgramsDirectory("C:\\P");
  const std::string folder(150, 'f');
  const std::string fits(99, 'x');      // C:\P\<folder>\<fits>.lnk: 259 characters
  const std::string tooLong(100, 'y');  // 260: no room for the terminator
  WriteText(platform.registry, kHkeyLocalMachine, kLanguage, "ProdTWDLiteFolder", folder);
  for (const std::string& name : {fits, tooLong}) {
    WriteText(platform.registry, kHkeyLocalMachine, kLanguage + "\\ProdTWDLiteObjs", name, "Help");
    WriteDword(platform.registry, kHkeyLocalMachine, kLanguage + "\\Folders\\" + folder, name, 1);
    platform.WriteFile("C:\\P\\" + folder + "\\" + name + ".lnk");
  }
  auto app = MakeApp(kLite);
  std::string name;
  app->ReleaseShortcuts(name);
  EXPECT_EQ(watched.changes, (std::vector<std::string>{"RemoveFile C:\\P\\" + folder + "\\" + fits + ".lnk"}));
  EXPECT_FALSE(platform.Exists("C:\\P\\" + folder + "\\" + fits + ".lnk"));
  EXPECT_TRUE(platform.Exists("C:\\P\\" + folder + "\\" + tooLong + ".lnk"));
  EXPECT_FALSE(DwordValue(platform.registry, kHkeyLocalMachine, kLanguage + "\\Folders\\" + folder, tooLong).has_value());
}

}  // namespace
}  // namespace tw::test
