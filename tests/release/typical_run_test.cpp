// One whole run: ProdTWDLite removed for EN_US while ProdTWC stays.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "registry/layout.h"
#include "tests/support/journal_lines.h"
#include "tests/support/registry_probe.h"
#include "tests/support/test_platform.h"

namespace tw::test {
namespace {

constexpr const char* kFolder = "C:\\Start Menu\\Programs\\Talkwise";
constexpr const char* kHelp = "C:\\Talkwise\\Help";

class TypicalRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform.LoadFixture("typical_run.reg");
    for (const char* shortcut : {"Begin Here", "General Reference", "Dictation", "Control Panel"}) {
      platform.WriteFile(std::string(kFolder) + "\\" + shortcut + ".lnk");
    }
    for (const char* file : {"twc\\twcUS.hlp", "twc\\refbookUS.hlp", "twc\\twcUS.cnt", "twlite\\twliteUS.hlp"}) {
      platform.WriteFile(std::string(kHelp) + "\\" + file);
    }
    platform.Run("ProdTWDLite D en_us C:\\Uninst\\uninst.exe C:\\Uninst\\install.log");
  }
  std::optional<std::uint32_t> Counter(const std::string& path, const std::string& name = "UsageCtr") {
    return DwordValue(platform.registry, kHkeyLocalMachine, Family(path), name);
  }
  bool Has(const std::string& path, const std::string& name) {
    return ValueBytes(platform.registry, kHkeyLocalMachine, Family(path), name).has_value();
  }
  bool Key(const std::string& path) { return KeyExists(platform.registry, kHkeyLocalMachine, Family(path)); }

  TestPlatform platform;
};

TEST_F(TypicalRunTest, TheProductCountIsDecremented) {
  EXPECT_EQ(Counter("Install\\Counters", "ProductCtr"), 1u);
  EXPECT_EQ(platform.messages.shown.size(), 1u);  // the confirmation only
}

TEST_F(TypicalRunTest, LanguageCountersOfSharedComponentsDecrementTheDictationOneGoes) {
  for (const char* shared : {"Install", "Control", "Enroll", "Help", "Engine"}) {
    EXPECT_EQ(Counter(std::string(shared) + "\\Languages\\EN_US"), 1u) << shared;
  }
  EXPECT_FALSE(Key("Dictation\\Languages\\EN_US"));
}

TEST_F(TypicalRunTest, TheProductsEntryGoesAndProdTWCTakesOver) {
  const std::string language = "Install\\Languages\\EN_US";
  for (const char* gone : {"ProdTWDLite", "ProdTWDLiteCtr", "ProdTWDLiteFolder"}) EXPECT_FALSE(Has(language, gone));
  for (const char* kept : {"ProdTWC", "ProdTWCCtr", "ProdTWCFolder", "FolderName", "SwapBeginHere"}) {
    EXPECT_TRUE(Has(language, kept)) << kept;
  }
  EXPECT_FALSE(KeyExists(platform.registry, kHkeyCurrentUser, "AppEvents\\EventLabels\\Start Dictation US"));
  EXPECT_FALSE(KeyExists(platform.registry, kHkeyCurrentUser, "AppEvents\\Schemes\\Apps\\Talkwise"));

  const std::string twc = std::string(kHelp) + "\\twc";
  for (const char* file : {"twcus.hlp", "refbookus.hlp", "twcus.cnt"}) {
    EXPECT_EQ(TextValue(platform.registry, kHkeyLocalMachine, layout::kHelpRegistrations, file), twc) << file;
  }
  EXPECT_EQ(TextValue(platform.registry, kHkeyLocalMachine, layout::kHelpRegistrations, "twliteus.hlp"),
            std::string(kHelp) + "\\twlite");

  ASSERT_EQ(platform.links.updates.size(), 2u);
  EXPECT_EQ(platform.links.updates[0].targetPath, std::string(kHelp) + "\\twlitcUS.hlp");
  EXPECT_EQ(platform.links.updates[0].linkPath, std::string(kFolder) + "\\Begin Here.lnk");
  EXPECT_EQ(platform.links.updates[0].workingDirectory, kHelp);
  EXPECT_EQ(platform.links.updates[1].targetPath, twc + "\\refbookUS.hlp");
  EXPECT_EQ(platform.links.updates[1].linkPath, std::string(kFolder) + "\\General Reference.lnk");
  EXPECT_EQ(platform.links.updates[1].workingDirectory, twc);
}

TEST_F(TypicalRunTest, SharedShortcutsAreDecrementedItsOwnDeletedTheFolderStays) {
  const std::string folders = "Install\\Languages\\EN_US\\Folders\\Talkwise";
  EXPECT_EQ(Counter(folders, "Begin Here"), 1u);
  EXPECT_EQ(Counter(folders, "General Reference"), 1u);
  EXPECT_EQ(Counter(folders, "Control Panel"), 1u);
  EXPECT_FALSE(Has(folders, "Dictation"));
  EXPECT_FALSE(Key("Install\\Languages\\EN_US\\ProdTWDLiteObjs"));
  EXPECT_TRUE(Key("Install\\Languages\\EN_US\\ProdTWCObjs"));
  EXPECT_FALSE(platform.Exists(std::string(kFolder) + "\\Dictation.lnk"));
  for (const char* kept : {"Begin Here", "General Reference", "Control Panel"}) {
    EXPECT_TRUE(platform.Exists(std::string(kFolder) + "\\" + kept + ".lnk")) << kept;
  }
}

TEST_F(TypicalRunTest, TheDictationDataIsReleasedWithItsEngineUser) {
  const std::string engine = "Engine\\Languages\\EN_US";
  EXPECT_EQ(Counter(engine, "DictDataCtr"), 0u);
  EXPECT_EQ(ValueBytes(platform.registry, kHkeyLocalMachine, Family(engine), "DictData"),
            (std::vector<std::uint8_t>{0}));
  EXPECT_EQ(Counter(engine, "NavDataCtr"), 2u);
  EXPECT_EQ(ValueBytes(platform.registry, kHkeyLocalMachine, Family(engine), "NavData"),
            (std::vector<std::uint8_t>{1}));
  ASSERT_EQ(platform.engine.calls.size(), 1u);
  EXPECT_EQ(platform.engine.calls[0].window, 0u);
  EXPECT_EQ(platform.engine.calls[0].instance, TestPlatform::kInstance);
  EXPECT_EQ(platform.engine.calls[0].languageCode, "EN_US");
  EXPECT_EQ(platform.engine.calls[0].userName, "cstartus");
}

TEST_F(TypicalRunTest, ComponentCountersAreReleasedDictationGoes) {
  for (const char* shared : {"Control", "Enroll", "Help"}) EXPECT_EQ(Counter(shared), 1u) << shared;
  for (const char* untouched : {"Install", "Engine"}) EXPECT_EQ(Counter(untouched), 2u) << untouched;
  EXPECT_FALSE(Key("Dictation"));
  EXPECT_EQ(TextValue(platform.registry, kHkeyLocalMachine, Family("Control\\Directories"), "Help"), kHelp);
}

TEST_F(TypicalRunTest, TheRealUninstallerIsStarted) {
  ASSERT_EQ(platform.processes.started.size(), 1u);
  EXPECT_EQ(platform.processes.started[0].commandLine, "C:\\Uninst\\uninst.exe -y C:\\Uninst\\install.log");
  EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
  EXPECT_EQ(platform.files.OpenSearchCount(), 0u);
}

// The same run with its change log: a re-pointed shortcut lists only what
// the swap changed, and its icon, which the swap clears on purpose; the
// ledger is one line where the removal is recorded and one where it ends.
TEST(TypicalRunLogTest, ListsWhatChangedAndTheLedgerInTwoLines) {
  TestPlatform platform;
  platform.LoadFixture("typical_run.reg");
  for (const char* file : {"twc\\twcUS.hlp", "twc\\refbookUS.hlp"}) platform.WriteFile(std::string(kHelp) + "\\" + file);
  const std::string folder = std::string(kFolder) + "\\";
  for (const char* shortcut : {"Begin Here", "General Reference"}) platform.WriteFile(folder + shortcut + ".lnk");
  platform.links.shortcuts[folder + "Begin Here.lnk"] = {std::string(kHelp) + "\\twliteUS.hlp", kHelp,
                                                         "C:\\Talkwise\\dictpad.exe", 1};
  platform.links.shortcuts[folder + "General Reference.lnk"] = {std::string(kHelp) + "\\twlite\\refbookUS.hlp",
                                                                std::string(kHelp) + "\\twlite", "", 0};
  platform.WriteFile("C:\\run.log");
  platform.RunProgram("/quiet /log:C:\\run.log ProdTWDLite D en_us C:\\Uninst\\uninst.exe C:\\Uninst\\install.log");
  const std::vector<std::string> log = LogLines(platform.ReadFile("C:\\run.log"));
  const std::vector<std::string> expected = {
      "shortcut re-pointed: C:\\Start Menu\\Programs\\Talkwise\\Begin Here.lnk",
      "    target: C:\\Talkwise\\Help\\twliteUS.hlp -> C:\\Talkwise\\Help\\twlitcUS.hlp",
      "    icon: C:\\Talkwise\\dictpad.exe,1 -> (cleared by the swap)",
      "shortcut re-pointed: C:\\Start Menu\\Programs\\Talkwise\\General Reference.lnk",
      "    target: C:\\Talkwise\\Help\\twlite\\refbookUS.hlp -> C:\\Talkwise\\Help\\twc\\refbookUS.hlp",
      "    working directory: C:\\Talkwise\\Help\\twlite -> C:\\Talkwise\\Help\\twc"};
  EXPECT_NE(std::search(log.begin(), log.end(), expected.begin(), expected.end()), log.end())
      << platform.ReadFile("C:\\run.log");
  std::vector<std::string> ledger;
  std::copy_if(log.begin(), log.end(), std::back_inserter(ledger), [](const std::string& line) {
    return line.rfind("ledger: ", 0) == 0;
  });
  EXPECT_EQ(ledger, (std::vector<std::string>{"ledger: ProdTWDLite D EN_US recorded as running (shared)",
                                              "ledger: ProdTWDLite D EN_US released"}));
  EXPECT_EQ(ListedChanges(log), SummaryChanges(log));
}

}  // namespace
}  // namespace tw::test
