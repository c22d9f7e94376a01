// Removal of program folders from the start menu.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/registry_probe.h"
#include "tests/support/start_menu_test.h"

namespace tw::test {
namespace {

const std::string kFolder = "C:\\users\\Ann\\Start Menu\\Programs\\Talkwise";
constexpr const char* kCommand = "ProdTWC C en_us C:\\u.exe log";

class ProgramFolderTest : public StartMenuTest {
 protected:
  void SetUp() override {
    WriteText(platform.registry, kHkeyLocalMachine, Family("Install\\Languages\\EN_US"), "FolderName", "Talkwise");
    platform.WriteFile(kFolder + "\\Begin Here.lnk");
    platform.WriteFile("C:\\users\\Ann\\Start Menu\\Programs\\Talkwise Extra\\Keep.lnk");
  }
  void Remove(const std::string& folderName) {
    MakeApp(kCommand)->RemoveProgramFolder(folderName);
    EXPECT_EQ(watched.OpenSearchCount(), 0u);
  }
  void DeleteTree(const std::string& path) {
    MakeApp(kCommand)->DeleteDirectoryTree(path);
    EXPECT_EQ(watched.OpenSearchCount(), 0u);
  }
  static void WriteHostFile(const std::filesystem::path& path) { std::ofstream(path) << "keep"; }

  TempFolder outside;
};

TEST_F(ProgramFolderTest, RemovesTheWholeTreeButNeverWhatLinksPointTo) {
  TW_NEEDS_SYMBOLIC_LINKS();
  platform.WriteFile(kFolder + "\\Sub\\Deeper\\Manual.lnk");
  platform.WriteFile(kFolder + "\\Sub\\Deeper\\Locked.lnk");
  platform.WriteFile(kFolder + "\\Sub\\Read Me.txt");
  platform.WriteFile(kFolder + "\\Locked.lnk");
  MakeReadOnly(kFolder + "\\Sub\\Deeper\\Locked.lnk");
  MakeReadOnly(kFolder + "\\Locked.lnk");
  std::filesystem::create_directories(outside.Path() / "Data" / "Inner");
  WriteHostFile(outside.Path() / "Data" / "Inner" / "precious.dat");
  WriteHostFile(outside.Path() / "precious.txt");
  Link(kFolder + "\\A Data Link", outside.Path() / "Data", true);
  Link(kFolder + "\\Sub\\Text Link.lnk", outside.Path() / "precious.txt", false);
  Link(kFolder + "\\Dangling.lnk", outside.Path() / "gone", false);

  Remove("Talkwise");
  EXPECT_FALSE(platform.Exists(kFolder));
  EXPECT_TRUE(platform.Exists("C:\\users\\Ann\\Start Menu\\Programs\\Talkwise Extra\\Keep.lnk"));
  EXPECT_TRUE(std::filesystem::exists(outside.Path() / "Data" / "Inner" / "precious.dat"));
  EXPECT_TRUE(std::filesystem::exists(outside.Path() / "precious.txt"));
  for (const std::string& change : watched.changes) EXPECT_EQ(change.find("SetAttributes " + kFolder + "\\A Data"), std::string::npos);
  EXPECT_EQ(std::count(watched.changes.begin(), watched.changes.end(), "RemoveFolder " + kFolder + "\\A Data Link"), 1);
}

TEST_F(ProgramFolderTest, FolderThatIsALinkGoesByItself) {
  TW_NEEDS_SYMBOLIC_LINKS();
  std::filesystem::remove_all(platform.Host(kFolder));
  WriteHostFile(outside.Path() / "precious.txt");
  Link(kFolder, outside.Path(), true);
  Remove("");
  EXPECT_FALSE(platform.Exists(kFolder));
  EXPECT_TRUE(std::filesystem::exists(outside.Path() / "precious.txt"));
  EXPECT_EQ(watched.changes, std::vector<std::string>{"RemoveFolder " + kFolder});
}

// What a user may plant in the folder to steer the elevated delete elsewhere:
// a name that reads as a path, a link above the last component, a read-only
// folder, and a sub-folder swapped for a link after it was looked at.
TEST_F(ProgramFolderTest, PlantedNamesAndLinksAtAnyLevelReachNothingOutside) {
  TW_NEEDS_SYMBOLIC_LINKS();
  const std::string victim = "C:\\users\\Ann\\Start Menu\\victim";
  platform.WriteFile(victim + "\\precious.txt");
  std::filesystem::create_directories(platform.Host(kFolder) / "..\\victim");  // one name on this disk
  WriteHostFile(platform.Host(kFolder) / "..\\victim" / "x");
  platform.WriteFile(kFolder + "\\Locked\\Inner.lnk");
  MakeReadOnly(kFolder + "\\Locked");
  platform.WriteFile(kFolder + "\\Sub\\Deeper\\Manual.lnk");
  std::filesystem::create_directories(outside.Path() / "Deeper");
  WriteHostFile(outside.Path() / "Deeper" / "Manual.lnk");
  watched.beforeChange = [&](const std::string& path) {
    if (path != kFolder + "\\Sub\\Deeper\\Manual.lnk" || !std::filesystem::exists(platform.Host(kFolder + "\\Sub"))) return;
    std::filesystem::rename(platform.Host(kFolder + "\\Sub"), outside.Path() / "moved");
    Link(kFolder + "\\Sub", outside.Path(), true);
  };
  const std::set<std::string> outsideBefore{DiskContents()};

  Remove("Talkwise");
  EXPECT_TRUE(platform.Exists(victim + "\\precious.txt"));
  EXPECT_TRUE(std::filesystem::exists(outside.Path() / "Deeper" / "Manual.lnk"));
  // What could not go stays with the folders above it; the rest went.
  EXPECT_TRUE(std::filesystem::exists(platform.Host(kFolder) / "..\\victim" / "x"));
  EXPECT_TRUE(platform.Exists(kFolder + "\\Locked"));
  EXPECT_FALSE(platform.Exists(kFolder + "\\Locked\\Inner.lnk"));
  EXPECT_FALSE(platform.Exists(kFolder + "\\Begin Here.lnk"));
  for (const std::string& entry : DiskContents()) {
    if (entry.find("Talkwise") == std::string::npos) {
      EXPECT_EQ(outsideBefore.count(entry), 1u) << entry;
    }
  }
}

// Second names of files outside: the read-only one keeps its attribute and
// its name, and so the folder stays; the writable one's name goes, the file
// outside stays as it was.
TEST_F(ProgramFolderTest, SecondNamesOfFilesOutsideNeverChangeTheirAttributes) {
  WriteHostFile(outside.Path() / "precious.txt");
  WriteHostFile(outside.Path() / "open.txt");
  std::filesystem::permissions(outside.Path() / "precious.txt", std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  std::filesystem::create_hard_link(outside.Path() / "precious.txt", platform.Host(kFolder) / "Precious.lnk");
  std::filesystem::create_hard_link(outside.Path() / "open.txt", platform.Host(kFolder) / "Open.lnk");

  Remove("Talkwise");
  EXPECT_EQ(std::filesystem::status(outside.Path() / "precious.txt").permissions() & std::filesystem::perms::owner_write,
            std::filesystem::perms::none);
  EXPECT_TRUE(platform.Exists(kFolder + "\\Precious.lnk"));
  EXPECT_FALSE(platform.Exists(kFolder + "\\Open.lnk"));
  EXPECT_FALSE(platform.Exists(kFolder + "\\Begin Here.lnk"));
  EXPECT_TRUE(std::filesystem::exists(outside.Path() / "open.txt"));
  EXPECT_EQ(std::count(watched.changes.begin(), watched.changes.end(), "RemoveFile " + kFolder + "\\Precious.lnk"), 0);
}

TEST_F(ProgramFolderTest, EmptyNameStandsForTheLanguagesDefaultFolder) {
  Remove("");
  EXPECT_FALSE(platform.Exists(kFolder));

  ProgramFolderTest::SetUp();
  watched.changes.clear();
  platform.LoadRegText("REGEDIT4\n[HKEY_LOCAL_MACHINE\\" + Family("Install\\Languages\\EN_US") + "]\n\"FolderName\"=-\n");
  Remove("");
  EXPECT_TRUE(platform.Exists(kFolder));
  EXPECT_TRUE(watched.changes.empty());
}

TEST_F(ProgramFolderTest, NamedFolderGoesEvenWithoutLanguageKey) {
  platform.LoadRegText("REGEDIT4\n[-HKEY_LOCAL_MACHINE\\" + Family("Install") + "]\n");
  Remove("TALKWISE EXTRA");
  EXPECT_FALSE(platform.Exists("C:\\users\\Ann\\Start Menu\\Programs\\Talkwise Extra"));
  EXPECT_TRUE(platform.Exists(kFolder));
}

TEST_F(ProgramFolderTest, MissingFolderIsLeftAlone) {
  const auto before = DiskContents();
  Remove("Not There");
  DeleteTree("C:\\Nowhere\\Not There");
  EXPECT_EQ(DiskContents(), before);
  EXPECT_TRUE(watched.changes.empty());
}

TEST_F(ProgramFolderTest, FolderPathBeyondMaxPathIsPassedOver) {
  TW_NEEDS_OVERLONG_PATHS();
  SetProgramsDirectory("C:\\P");
  const std::string fits(250, 'f');         // search pattern C:\P\<fits>\*.*: 259 characters
  const std::string noSearch(251, 's');     // 260: the folder cannot be searched
  const std::string noFolder(255, 'n');     // C:\P\<noFolder> alone: 260
  for (const std::string& name : {fits, noSearch, noFolder}) {
    platform.WriteFile("C:\\P\\" + name + "\\x");
    Remove(name);
  }
  EXPECT_FALSE(platform.Exists("C:\\P\\" + fits));
  EXPECT_TRUE(platform.Exists("C:\\P\\" + noSearch + "\\x"));
  EXPECT_TRUE(platform.Exists("C:\\P\\" + noFolder + "\\x"));
}

TEST_F(ProgramFolderTest, EntryPathBeyondMaxPathIsLeftWithItsFolder) {
  TW_NEEDS_OVERLONG_PATHS();
  const std::string folder = "C:\\" + std::string(200, 'd');
  const std::string fits(55, 'f');     // <folder>\<fits>: 259 characters
  const std::string tooLong(56, 'g');  // 260
  platform.WriteFile(folder + "\\" + fits);
  platform.WriteFile(folder + "\\" + tooLong);
  DeleteTree(folder);
  EXPECT_FALSE(platform.Exists(folder + "\\" + fits));
  EXPECT_TRUE(platform.Exists(folder + "\\" + tooLong));
}

TEST_F(ProgramFolderTest, SearchThatBreaksOffStopsTheWalk) {
  for (const char* name : {"B.lnk", "C.lnk", "D.lnk"}) platform.WriteFile(kFolder + "\\" + name);
  watched.findNextsBeforeFailure = 3;  // "..", "Begin Here.lnk" and "B.lnk", then the search fails
  Remove("Talkwise");
  EXPECT_EQ(watched.changes, (std::vector<std::string>{"RemoveFile " + kFolder + "\\B.lnk",
                                                       "RemoveFile " + kFolder + "\\Begin Here.lnk"}));
  EXPECT_TRUE(platform.Exists(kFolder + "\\C.lnk"));
  EXPECT_TRUE(platform.Exists(kFolder + "\\D.lnk"));
}

// A drive's root has no dot entries: its first entry is a real one and is
// handled like every other.
TEST_F(ProgramFolderTest, FirstEntryOfTheSearchIsHandledLikeTheOthers) {
  if (!kPortablePlatform) GTEST_SKIP() << "would empty the system's own drive C:";
  for (const char* first : {"A Folder\\x.lnk", "A.lnk"}) {
    platform.WriteFile(std::string("C:\\") + first);
    if (std::string(first) == "A.lnk") MakeReadOnly("C:\\A.lnk");
    DeleteTree("C:\\");
    EXPECT_EQ(DiskContents(), std::set<std::string>{"c"}) << first;
  }
}

}  // namespace
}  // namespace tw::test
