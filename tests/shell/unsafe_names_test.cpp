// Folder and shortcut names come from the family's tree and the programs
// directory from the user's hive: no value, however odd, leads a delete
// outside the program folder. The registry bookkeeping goes on regardless.
#include <gtest/gtest.h>

#include "tests/support/path_recorder.h"
#include "tests/support/registry_probe.h"
#include "shell/start_menu_paths.h"
#include "tests/support/start_menu_test.h"

namespace tw::test {
namespace {

const std::string kLanguage = Family("Install\\Languages\\EN_US");
const std::string kCounters = kLanguage + "\\Folders\\Talkwise Dictation";
const std::string kFolder = "C:\\users\\Ann\\Start Menu\\Programs\\Talkwise Dictation";
constexpr const char* kLite = "ProdTWDLite D en_us C:\\u.exe log";

class UnsafeNamesTest : public StartMenuTest {
 protected:
  void SetUp() override {
    platform.LoadFixture("shortcuts.reg");
    for (const char* name : {"Begin Here", "Dictate", "Train", "Command"}) platform.WriteFile(kFolder + "\\" + name + ".lnk");
    for (const char* sentinel :
         {"C:\\Victim.lnk", "C:\\users\\Victim.lnk", "C:\\users\\Ann\\Start Menu\\Victim.lnk",
          "C:\\users\\Ann\\Start Menu\\Programs\\Dictate.lnk", "C:\\users\\Ann\\Start Menu\\Programs\\Talkwise\\Read Me.lnk"}) {
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
                                           "C:", "\\\\FILES\\Profiles\\Ann\\Programs"));

// A programs directory that the user's hive points outside the user's own
// profile: whatever lies below it stays, and each refusal is told.
class ForeignProgramsDirectory : public UnsafeNamesTest {
 protected:
  void SetUp() override {
    UnsafeNamesTest::SetUp();
    platform.user.profile = "C:\\users\\Ann";
    for (const char* elsewhere : {"C:\\Program Files\\Corvane", "C:\\users\\Annex\\Start Menu\\Programs", "C:"}) {
      platform.WriteFile(std::string(elsewhere) + "\\Talkwise Dictation\\Dictate.lnk");
    }
    WriteText(platform.registry, kHkeyLocalMachine, kLanguage, "FolderName", "Talkwise Dictation");
  }
  void ExpectNothingChanged(const std::set<std::string>& before) {
    ReleaseAndRemove();
    RemoveDefaultFolder();
    EXPECT_FALSE(DwordValue(platform.registry, kHkeyLocalMachine, kCounters, "Dictate").has_value());
    EXPECT_TRUE(watched.changes.empty());
    EXPECT_EQ(DiskContents(), before);
    // Each shortcut's delete and the folder's removal read the directory afresh.
    EXPECT_EQ(platform.user.refused.size(), 3u);
  }
};

class ForeignProgramsDirectoryTest : public ForeignProgramsDirectory,
                                     public ::testing::WithParamInterface<std::string> {};

TEST_P(ForeignProgramsDirectoryTest, IsNotUsed) {
  SetProgramsDirectory(GetParam());
  ExpectNothingChanged(DiskContents());
  for (const std::string& refusal : platform.user.refused) EXPECT_EQ(refusal.rfind(GetParam() + ": not below", 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(Directories, ForeignProgramsDirectoryTest,
                         ::testing::Values("C:\\Program Files\\Corvane", "C:\\", "C:\\users\\Ann",
                                           "C:\\users\\Ann\\..\\..\\Program Files\\Corvane",
                                           "C:\\users\\Annex\\Start Menu\\Programs"));

// Forms that reach another machine, a device or a pipe are refused by their
// spelling, before anything opens them (a pipe's server could act with the
// rights of the run that opens it); the refusal says so.
struct RefusedFormCase {
  const char* directory;
  const char* reason;
};

class RefusedProgramsFormTest : public ForeignProgramsDirectory,
                                public ::testing::WithParamInterface<RefusedFormCase> {};

TEST_P(RefusedProgramsFormTest, IsRefusedUnopened) {
  const RefusedFormCase& form = GetParam();
  SetProgramsDirectory(form.directory);
  ExpectNothingChanged(DiskContents());
  for (const std::string& refusal : platform.user.refused) {
    EXPECT_EQ(refusal, std::string(form.directory) + ": " + form.reason);
  }
}

// The whole run, a shared release and then the full removal, with every
// path it hands to the services recorded: none is the refused value or
// anything built from it, and the log tells the refusal once per run.
TEST_P(RefusedProgramsFormTest, ReachesNoCallAndIsLoggedOncePerRun) {
  const RefusedFormCase& form = GetParam();
  SetProgramsDirectory(form.directory);
  PathRecorder recorder(platform.files, platform.user, platform.links);
  const Platform view = platform.View();
  const Platform recorded{view.registry, recorder.files(), view.processes, view.messages, recorder.links(),
                          view.engine,   view.codePage,    recorder.user(), view.lock,   view.notes};
  const std::string refusal = "refused: every change below the programs directory " + std::string(form.directory);
  for (const char* decision : {"decision: shared release", "decision: full removal"}) {
    WriteDword(platform.registry, kHkeyLocalMachine, kLanguage, "ProdTWDLiteCtr", 1);
    if (decision == std::string("decision: shared release")) {
      WriteDword(platform.registry, kHkeyLocalMachine, Family("Install\\Counters"), "ProductCtr", 2);
      WriteDword(platform.registry, kHkeyLocalMachine, kLanguage, "ProdTWCCtr", 1);
    } else {
      MakeLastProduct(platform.registry, "ProdTWDLite", "EN_US");
    }
    platform.RunProgram("/quiet /log:C:\\run.log " + std::string(kLite), recorded);
    const std::string log = platform.ReadFile("C:\\run.log");
    std::size_t told = 0;
    for (std::size_t at = log.find(refusal); at != std::string::npos; at = log.find(refusal, at + 1)) ++told;
    EXPECT_NE(log.find(decision), std::string::npos) << log;
    EXPECT_EQ(told, 1u) << log;
    platform.files.RemoveFile("C:\\run.log");
  }
  EXPECT_TRUE(platform.Exists(kFolder + "\\Dictate.lnk"));
  for (const std::string& call : recorder.paths()) {
    const std::string path = call.substr(call.find(' ') + 1);
    EXPECT_TRUE(path.size() >= 3 && path[1] == ':' && path[2] == '\\') << call;
    EXPECT_EQ(path.find(form.directory), std::string::npos) << call;
  }
}

constexpr char kNotOnADrive[] = "not a folder on a drive letter";
constexpr char kDevice[] = "names a device";

INSTANTIATE_TEST_SUITE_P(
    Forms, RefusedProgramsFormTest,
    ::testing::Values(RefusedFormCase{"\\\\.\\pipe\\twprograms", kNotOnADrive},
                      RefusedFormCase{"\\\\?\\C:\\users\\Ann\\Start Menu\\Programs", kNotOnADrive},
                      RefusedFormCase{"\\\\?\\pipe\\twprograms", kNotOnADrive},
                      RefusedFormCase{"\\\\.\\C:\\users\\Ann\\Start Menu\\Programs", kNotOnADrive},
                      RefusedFormCase{"\\\\server\\share\\users\\Ann\\Programs", kNotOnADrive},
                      RefusedFormCase{"//./pipe/twprograms", kNotOnADrive},
                      RefusedFormCase{"\\??\\pipe\\twprograms", kNotOnADrive},
                      RefusedFormCase{"\\Users\\Ann\\Programs", kNotOnADrive},
                      RefusedFormCase{"C:users\\Ann", kNotOnADrive},
                      RefusedFormCase{"Programs", kNotOnADrive},
                      RefusedFormCase{"C:\\users\\Ann\\NUL", kDevice},
                      RefusedFormCase{"C:\\users\\Ann\\com1.txt", kDevice},
                      RefusedFormCase{"C:\\users\\Ann\\Lpt9 \\Programs", kDevice},
                      RefusedFormCase{"C:\\users\\Ann/conout$", kDevice},
                      RefusedFormCase{"C:\\users\\Ann\\aux:stream", kDevice}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(ForeignProgramsDirectoryTest, ALinkInTheProfileIsFollowedToWhereItLeads) {
  TW_NEEDS_SYMBOLIC_LINKS();
  Link("C:\\users\\Ann\\Corvane", platform.Host("C:\\Program Files\\Corvane"), true);
  SetProgramsDirectory("C:\\users\\Ann\\Corvane");
  ExpectNothingChanged(DiskContents());
}

TEST_F(ForeignProgramsDirectoryTest, WithoutTheUsersOwnRightsNothingIsTouchedAndEachRefusalIsLogged) {
  SetProgramsDirectory(kPrograms);
  platform.user.rightsHeld = false;
  WriteDword(platform.registry, kHkeyLocalMachine, kLanguage, "ProdTWDLiteCtr", 1);  // registered, as a setup leaves it
  platform.WriteFile("C:\\run.log");  // the log is there before, as a deployment's would be
  const std::set<std::string> before = DiskContents();
  platform.RunProgram("/quiet /log:C:\\run.log " + std::string(kLite));
  EXPECT_EQ(DiskContents(), before);
  EXPECT_EQ(platform.user.refused.size(), 1u);
  const std::string log = platform.ReadFile("C:\\run.log");
  const std::string line = "refused: every change below the programs directory " + std::string(kPrograms) +
                           ": the user's own rights cannot be had";
  EXPECT_NE(log.find(line), std::string::npos) << log;
  EXPECT_TRUE(platform.Exists(kFolder + "\\Dictate.lnk"));
}

#if !defined(_WIN32)  // the system's own short names: tests/wine/hostile_start_menu
TEST_F(ForeignProgramsDirectoryTest, AShortNameIsTheLongFolderItNames) {
  platform.user.shortNames["C:\\users\\ANN~1"] = "C:\\users\\Ann";
  platform.user.profile = "C:\\users\\ANN~1";
  SetProgramsDirectory("C:\\users\\ANN~1\\Start Menu\\Programs");
  ReleaseAndRemove();
  EXPECT_EQ(watched.changes, (std::vector<std::string>{"RemoveFile " + kFolder + "\\Dictate.lnk",
                                                       "RemoveFile " + kFolder + "\\Train.lnk"}));
  EXPECT_TRUE(platform.user.refused.empty());
}
#endif

TEST(LiesBelowTest, OnlyWholeFoldersBelow) {
  EXPECT_TRUE(LiesBelow("C:\\users\\Ann\\Programs", "C:\\users\\Ann"));
  EXPECT_TRUE(LiesBelow("C:\\Users", "C:\\"));
  EXPECT_FALSE(LiesBelow("C:\\users\\Ann", "C:\\users\\Ann"));
  EXPECT_FALSE(LiesBelow("C:\\users\\Annex", "C:\\users\\Ann"));
  EXPECT_FALSE(LiesBelow("C:\\USERS\\Ann\\Programs", "C:\\users\\Ann"));  // final paths spell alike
  // A profile whose last character has the trail byte 0x5C (code page 936's U+4E57).
  EXPECT_FALSE(LiesBelow("C:\\users\\\x81\x5cX\\Programs", "C:\\users\\\x81\x5c"));
  EXPECT_TRUE(LiesBelow("C:\\users\\\x81\x5c\\Programs", "C:\\users\\\x81\x5c"));
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
