// Re-pointing the two shortcuts that ProdTWDLite and ProdTWC share.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/support/registry_probe.h"
#include "tests/support/start_menu_test.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_platform.h"

namespace tw::test {
namespace {

constexpr const char* kLanguageKey = "SOFTWARE\\Corvane\\Talkwise\\Install\\Languages\\EN_US";
constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kDictationHelp = "C:\\Talkwise\\DictHelp";
constexpr const char* kControlHelp = "C:\\Talkwise\\CtrlHelp";
constexpr const char* kPrograms = "C:\\users\\u\\Start Menu\\Programs";

// Target, link path and working directory of one shortcut update.
struct Update {
  std::string targetPath;
  std::string linkPath;
  std::string workingDirectory;
  bool operator==(const Update& other) const {
    return targetPath == other.targetPath && linkPath == other.linkPath && workingDirectory == other.workingDirectory;
  }
};

void PrintTo(const Update& update, std::ostream* out) {
  *out << "{" << update.targetPath << ", " << update.linkPath << ", " << update.workingDirectory << "}";
}

class ShortcutSwapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Text(Family("Dictation\\Directories"), "Help", kDictationHelp);
    Text(Family("Control\\Directories"), "Help", kControlHelp);
    Text(kLanguageKey, "ProdTWCFolder", "Talkwise Control");
    Text(kLanguageKey, "ProdTWDLiteFolder", "Talkwise Lite");
    Text(kLanguageKey, "SwapBeginHere", "Begin Here");
    Text(kLanguageKey, "SwapGenRef", "General Reference");
    WriteText(platform.registry, kHkeyCurrentUser, kShellFolders, "Programs", kPrograms);
    platform.MakeFolder(kPrograms);
  }
  void Text(const std::string& path, const std::string& name, const std::string& text) {
    WriteText(platform.registry, kHkeyLocalMachine, path, name, text);
  }
  void Delete(RegKey root, const std::string& path, const std::string& name) {
    RegKey key = 0;
    ASSERT_EQ(platform.registry.OpenKey(root, path.c_str(), kKeyAllAccess, &key), kErrorSuccess);
    EXPECT_EQ(platform.registry.DeleteValue(key, name.c_str()), kErrorSuccess);
    platform.registry.CloseKey(key);
  }
  std::vector<Update> Swap(const std::string& removed, const std::string& remaining) {
    auto app = platform.MakeApp(removed + " D en_us C:\\u.exe log");
    EXPECT_TRUE(app->ParseCommandLine());
    app->SwapShortcuts(remaining);
    EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
    std::vector<Update> updates;
    for (const auto& update : platform.links.updates) {
      updates.push_back({update.targetPath, update.linkPath, update.workingDirectory});
    }
    return updates;
  }

  TestPlatform platform;
};

struct Direction {
  const char* removed;
  const char* remaining;
  std::vector<Update> updates;
};

void PrintTo(const Direction& direction, std::ostream* out) { *out << direction.removed; }

class SwapDirectionTest : public ShortcutSwapTest, public ::testing::WithParamInterface<Direction> {};

// The help directory is the removed product's component's, even where the
// two components record different ones.
TEST_P(SwapDirectionTest, PointsTheRemainingShortcutsAtItsHelpFiles) {
  EXPECT_EQ(Swap(GetParam().removed, GetParam().remaining), GetParam().updates);
}

INSTANTIATE_TEST_SUITE_P(
    BothWays, SwapDirectionTest,
    ::testing::Values(
        Direction{"ProdTWDLite", "ProdTWC",
                  {{"C:\\Talkwise\\DictHelp\\twlitcUS.hlp",
                    "C:\\users\\u\\Start Menu\\Programs\\Talkwise Control\\Begin Here.lnk", kDictationHelp},
                   {"C:\\Talkwise\\DictHelp\\twc\\refbookUS.hlp",
                    "C:\\users\\u\\Start Menu\\Programs\\Talkwise Control\\General Reference.lnk",
                    "C:\\Talkwise\\DictHelp\\twc"}}},
        Direction{"ProdTWC", "ProdTWDLite",
                  {{"C:\\Talkwise\\CtrlHelp\\twliteUS.hlp",
                    "C:\\users\\u\\Start Menu\\Programs\\Talkwise Lite\\Begin Here.lnk", kControlHelp},
                   {"C:\\Talkwise\\CtrlHelp\\twlite\\refbookUS.hlp",
                    "C:\\users\\u\\Start Menu\\Programs\\Talkwise Lite\\General Reference.lnk",
                    "C:\\Talkwise\\CtrlHelp\\twlite"}}}));

TEST_F(ShortcutSwapTest, OnlyTheGeneralReferenceWithoutABeginHereName) {
  Delete(kHkeyLocalMachine, kLanguageKey, "SwapBeginHere");
  const auto updates = Swap("ProdTWDLite", "ProdTWC");
  ASSERT_EQ(updates.size(), 1u);
  EXPECT_EQ(updates[0].linkPath, std::string(kPrograms) + "\\Talkwise Control\\General Reference.lnk");
}

TEST_F(ShortcutSwapTest, OnlyTheBeginHereWithoutAGeneralReferenceName) {
  Delete(kHkeyLocalMachine, kLanguageKey, "SwapGenRef");
  const auto updates = Swap("ProdTWC", "ProdTWDLite");
  ASSERT_EQ(updates.size(), 1u);
  EXPECT_EQ(updates[0].linkPath, std::string(kPrograms) + "\\Talkwise Lite\\Begin Here.lnk");
}

TEST_F(ShortcutSwapTest, AFailedUpdateDoesNotStopTheNextOne) {
  platform.links.result = kEFail;
  EXPECT_EQ(Swap("ProdTWDLite", "ProdTWC").size(), 2u);
}

// Without the help directory, the remaining product's folder name or the
// programs directory there is no true place to write to: nothing is touched.
struct MissingInput {
  const char* name;
  RegKey root;
  std::string path;
  const char* value;
};

void PrintTo(const MissingInput& input, std::ostream* out) { *out << input.name; }

class SwapMissingInputTest : public ShortcutSwapTest, public ::testing::WithParamInterface<MissingInput> {};

TEST_P(SwapMissingInputTest, LeavesBothShortcutsAlone) {
  Delete(GetParam().root, GetParam().path, GetParam().value);
  EXPECT_TRUE(Swap("ProdTWDLite", "ProdTWC").empty());
}

TEST_P(SwapMissingInputTest, TreatsAnEmptyValueAsMissing) {
  WriteText(platform.registry, GetParam().root, GetParam().path, GetParam().value, "");
  EXPECT_TRUE(Swap("ProdTWDLite", "ProdTWC").empty());
}

INSTANTIATE_TEST_SUITE_P(
    EachInput, SwapMissingInputTest,
    ::testing::Values(MissingInput{"HelpDirectory", kHkeyLocalMachine, Family("Dictation\\Directories"), "Help"},
                      MissingInput{"FolderName", kHkeyLocalMachine, kLanguageKey, "ProdTWCFolder"},
                      MissingInput{"ProgramsDirectory", kHkeyCurrentUser, kShellFolders, "Programs"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ShortcutSwapTest, TheOtherComponentsHelpDirectoryDoesNotStandInForAMissingOne) {
  Delete(kHkeyLocalMachine, Family("Control\\Directories"), "Help");
  EXPECT_TRUE(Swap("ProdTWC", "ProdTWDLite").empty());
}

TEST_F(ShortcutSwapTest, PassesOverALinkPathThatWouldNotFit) {
  // "<programs>\Talkwise Control\" is 48 characters; with ".lnk" a name of 207 fills 259.
  Text(kLanguageKey, "SwapBeginHere", std::string(207, 'b'));
  Text(kLanguageKey, "SwapGenRef", std::string(208, 'g'));
  const auto updates = Swap("ProdTWDLite", "ProdTWC");
  ASSERT_EQ(updates.size(), 1u);
  EXPECT_EQ(updates[0].linkPath.size(), 259u);
  EXPECT_EQ(updates[0].targetPath, "C:\\Talkwise\\DictHelp\\twlitcUS.hlp");
}

TEST_F(ShortcutSwapTest, PassesOverATargetThatWouldNotFit) {
  // Begin-here target: help + 13 characters; general reference: help + 18.
  const std::string help = "C:\\" + std::string(243, 'h');
  Text(Family("Dictation\\Directories"), "Help", help);
  const auto updates = Swap("ProdTWDLite", "ProdTWC");
  ASSERT_EQ(updates.size(), 1u);
  EXPECT_EQ(updates[0].targetPath, help + "\\twlitcUS.hlp");
  EXPECT_EQ(updates[0].targetPath.size(), 259u);
}

TEST_F(ShortcutSwapTest, NamesThatLeadOutOfTheProgramsDirectoryWriteNothing) {
  for (const char* folder : {"..", "..\\..\\Windows", "a/b", "C:", " . "}) {
    Text(kLanguageKey, "ProdTWCFolder", folder);
    EXPECT_TRUE(Swap("ProdTWDLite", "ProdTWC").empty()) << folder;
  }
  Text(kLanguageKey, "ProdTWCFolder", "Talkwise Control");
  Text(kLanguageKey, "SwapBeginHere", "..\\..\\Startup\\Begin Here");
  const auto updates = Swap("ProdTWDLite", "ProdTWC");
  ASSERT_EQ(updates.size(), 1u);
  EXPECT_EQ(updates[0].linkPath, std::string(kPrograms) + "\\Talkwise Control\\General Reference.lnk");
}

// A user who makes the program folder a link would have the elevated save
// write wherever the link leads; the same goes for the shortcut deletes.
TEST_F(ShortcutSwapTest, AProgramFolderThatIsALinkIsNeitherWrittenNorDeletedThrough) {
  TW_NEEDS_SYMBOLIC_LINKS();
  TempFolder elsewhere;
  std::ofstream(elsewhere.Path() / "Dictate.lnk") << "keep";
  const auto folder = platform.Host(std::string(kPrograms) + "\\Talkwise Control");
  std::filesystem::create_directories(folder.parent_path());
  std::filesystem::create_directory_symlink(elsewhere.Path(), folder);
  EXPECT_TRUE(Swap("ProdTWDLite", "ProdTWC").empty());
  platform.MakeApp("ProdTWC C en_us C:\\u.exe log")->DeleteShortcut("Talkwise Control", "Dictate");
  EXPECT_TRUE(std::filesystem::exists(elsewhere.Path() / "Dictate.lnk"));
}

TEST_F(ShortcutSwapTest, ARelativeProgramsDirectoryWritesNothing) {
  WriteText(platform.registry, kHkeyCurrentUser, kShellFolders, "Programs", "Start Menu\\Programs");
  EXPECT_TRUE(Swap("ProdTWDLite", "ProdTWC").empty());
}

}  // namespace
}  // namespace tw::test
