// Giving back the product's own entry for its language, and what the product
// that stays takes over.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "registry/layout.h"
#include "tests/support/registry_probe.h"
#include "tests/support/test_platform.h"

namespace tw::test {
namespace {

constexpr const char* kLanguageKey = "SOFTWARE\\Corvane\\Talkwise\\Install\\Languages\\EN_US";
constexpr const char* kHelp = "C:\\Talkwise\\Help";

class ProductEntryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform.LoadFixture("handover_en_us.reg");
    platform.MakeFolder("C:\\Start Menu\\Programs");
    platform.WriteFile(std::string(kHelp) + "\\twc\\twcUS.hlp");
    platform.WriteFile(std::string(kHelp) + "\\twlite\\twliteUS.hlp");
  }
  void Release(const std::string& product, const std::string& variant = "D", const std::string& language = "en_us") {
    auto app = platform.MakeApp(product + " " + variant + " " + language + " C:\\u.exe log");
    ASSERT_TRUE(app->ParseCommandLine());
    app->ReleaseProductEntry();
    EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
    EXPECT_EQ(platform.files.OpenSearchCount(), 0u);
  }
  std::optional<std::string> Language(const std::string& name) {
    return TextValue(platform.registry, kHkeyLocalMachine, kLanguageKey, name);
  }
  bool HasLanguageValue(const std::string& name) {
    return ValueBytes(platform.registry, kHkeyLocalMachine, kLanguageKey, name).has_value();
  }
  void SetLanguage(const std::string& name, const std::string& text) {
    WriteText(platform.registry, kHkeyLocalMachine, kLanguageKey, name, text);
  }
  void DeleteLanguage(const std::string& name) {
    RegKey key = 0;
    ASSERT_EQ(platform.registry.OpenKey(kHkeyLocalMachine, kLanguageKey, kKeySetValue, &key), kErrorSuccess);
    platform.registry.DeleteValue(key, name.c_str());
    platform.registry.CloseKey(key);
  }
  // The subdirectory that the product's help registration points into, if any.
  std::string RegisteredUnder(const std::string& file) {
    const auto directory = TextValue(platform.registry, kHkeyLocalMachine, layout::kHelpRegistrations, file);
    if (!directory || directory->rfind(kHelp, 0) != 0) return "?";
    return directory->substr(std::string(kHelp).size());
  }
  bool SoundEventsRemain() {
    return KeyExists(platform.registry, kHkeyCurrentUser, "AppEvents\\EventLabels\\Start Dictation US");
  }

  TestPlatform platform;
};

// ---- The hand-over table, every combination of what the tests find ----

struct HandOverRow {
  const char* removed;
  bool otherPresent;  // ProdTWC when ProdTWDLite goes, and the other way round
  bool runPresent;
  bool twdPresent;
  const char* repointedTo;  // "" when the help files stay registered where they were
  const char* swappedTo;    // "" when no shortcut changes
};

void PrintTo(const HandOverRow& row, std::ostream* out) {
  *out << row.removed << (row.otherPresent ? " other" : "") << (row.runPresent ? " run" : "")
       << (row.twdPresent ? " twd" : "");
}

class HandOverTest : public ProductEntryTest, public ::testing::WithParamInterface<HandOverRow> {};

TEST_P(HandOverTest, FollowsTheTable) {
  const HandOverRow& row = GetParam();
  const std::string removed = row.removed;
  const std::string other = removed == "ProdTWDLite" ? "ProdTWC" : "ProdTWDLite";
  if (!row.otherPresent) DeleteLanguage(other);
  if (row.runPresent) SetLanguage("ProdRun", "1");
  if (row.twdPresent) SetLanguage("ProdTWD", "1");

  Release(removed);

  EXPECT_FALSE(HasLanguageValue(removed));
  EXPECT_FALSE(HasLanguageValue(removed + "Ctr"));
  EXPECT_FALSE(HasLanguageValue(removed + "Folder"));
  EXPECT_TRUE(HasLanguageValue(other + "Folder"));
  const std::string repointed = row.repointedTo;
  const std::string helpFile = repointed == "twlite" ? "twliteus.hlp" : "twcus.hlp";
  EXPECT_EQ(RegisteredUnder(helpFile), repointed.empty() ? "" : "\\" + repointed);
  EXPECT_EQ(RegisteredUnder(repointed == "twlite" ? "twcus.hlp" : "twliteus.hlp"), "");

  const std::string swapped = row.swappedTo;
  if (swapped.empty()) {
    EXPECT_TRUE(platform.links.updates.empty());
  } else {
    const std::string folder = swapped == "ProdTWC" ? "Talkwise Control" : "Talkwise Lite";
    ASSERT_EQ(platform.links.updates.size(), 2u);
    EXPECT_EQ(platform.links.updates[0].linkPath, "C:\\Start Menu\\Programs\\" + folder + "\\Begin Here.lnk");
    EXPECT_EQ(platform.links.updates[1].linkPath, "C:\\Start Menu\\Programs\\" + folder + "\\General Reference.lnk");
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryCombination, HandOverTest,
    ::testing::Values(HandOverRow{"ProdTWDLite", true, false, false, "twc", "ProdTWC"},
                      HandOverRow{"ProdTWDLite", true, true, false, "", "ProdTWC"},
                      HandOverRow{"ProdTWDLite", true, false, true, "", ""},
                      HandOverRow{"ProdTWDLite", true, true, true, "", ""},
                      HandOverRow{"ProdTWDLite", false, false, false, "", ""},
                      HandOverRow{"ProdTWDLite", false, true, false, "", ""},
                      HandOverRow{"ProdTWDLite", false, false, true, "", ""},
                      HandOverRow{"ProdTWDLite", false, true, true, "", ""},
                      HandOverRow{"ProdTWC", true, false, false, "twlite", "ProdTWDLite"},
                      HandOverRow{"ProdTWC", true, true, false, "", "ProdTWDLite"},
                      HandOverRow{"ProdTWC", true, false, true, "", ""},
                      HandOverRow{"ProdTWC", true, true, true, "", ""},
                      HandOverRow{"ProdTWC", false, false, false, "", ""},
                      HandOverRow{"ProdTWC", false, true, false, "", ""},
                      HandOverRow{"ProdTWC", false, false, true, "", ""},
                      HandOverRow{"ProdTWC", false, true, true, "", ""}));

// ---- The counter ----

TEST_F(ProductEntryTest, AProductCodeOutsideTheTableChangesNothing) {
  const std::string before = platform.Snapshot();
  for (const char* product : {"prodtwdlite", "ProdTWDLite2", "ProdTW", "Install"}) Release(product);
  EXPECT_EQ(platform.Snapshot(), before);
  EXPECT_TRUE(platform.links.updates.empty());
}

TEST_F(ProductEntryTest, FurtherInstallsOnlyDecrementTheCounter) {
  WriteDword(platform.registry, kHkeyLocalMachine, kLanguageKey, "ProdTWCCtr", 3);
  const std::string before = platform.Snapshot();
  Release("ProdTWC");
  EXPECT_EQ(DwordValue(platform.registry, kHkeyLocalMachine, kLanguageKey, "ProdTWCCtr"), 2u);
  WriteDword(platform.registry, kHkeyLocalMachine, kLanguageKey, "ProdTWCCtr", 3);
  EXPECT_EQ(platform.Snapshot(), before);
  EXPECT_TRUE(platform.links.updates.empty());
}

TEST_F(ProductEntryTest, NoCounterChangesNothing) {
  DeleteLanguage("ProdTWCCtr");
  const std::string before = platform.Snapshot();
  Release("ProdTWC");
  EXPECT_EQ(platform.Snapshot(), before);
  EXPECT_TRUE(platform.links.updates.empty());
}

TEST_F(ProductEntryTest, ACounterOfZeroIsTheLastInstallToo) {
  WriteDword(platform.registry, kHkeyLocalMachine, kLanguageKey, "ProdTWCCtr", 0);
  Release("ProdTWC");
  EXPECT_FALSE(HasLanguageValue("ProdTWCCtr"));
  EXPECT_FALSE(HasLanguageValue("ProdTWC"));
  EXPECT_EQ(platform.links.updates.size(), 2u);
}

TEST_F(ProductEntryTest, CounterUnderTheWholeCodePresenceUnderItsFirstEightCharacters) {
  platform.LoadRegText(
      "REGEDIT4\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Talkwise\\Install\\Languages\\ABCDE_FGHIJ]\n"
      "\"ProdTWDLite\"=\"1\"\n\"ProdTWDLiteCtr\"=dword:00000001\n\"ProdTWDLiteFolder\"=\"Lite\"\n"
      "\"ProdTWC\"=\"1\"\n\"ProdTWCFolder\"=\"Control\"\n"
      "\"SwapBeginHere\"=\"Begin Here\"\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Talkwise\\Install\\Languages\\ABCDE_FG]\n"
      "\"ProdTWC\"=\"1\"\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Talkwise\\Engine\\Languages\\ABCDE_FG]\n"
      "\"NavData\"=hex:01\n");
  Release("ProdTWDLite", "D", "abcde_fghij");
  const std::string whole = "SOFTWARE\\Corvane\\Talkwise\\Install\\Languages\\ABCDE_FGHIJ";
  EXPECT_FALSE(ValueBytes(platform.registry, kHkeyLocalMachine, whole, "ProdTWDLiteCtr").has_value());
  EXPECT_FALSE(ValueBytes(platform.registry, kHkeyLocalMachine, whole, "ProdTWDLiteFolder").has_value());
  // ProdTWC was found under ABCDE_FG; the swap itself works under the whole code.
  ASSERT_EQ(platform.links.updates.size(), 1u);
  EXPECT_EQ(platform.links.updates[0].linkPath, "C:\\Start Menu\\Programs\\Control\\Begin Here.lnk");
  EXPECT_EQ(platform.links.updates[0].targetPath, "C:\\Talkwise\\Help\\twlitcIJ.hlp");
}

// ---- What goes with the last install ----

TEST_F(ProductEntryTest, ProdTWDTakesItsValuesAndSoundEventsAndHandsNothingOver) {
  SetLanguage("ProdTWD", "1");
  WriteDword(platform.registry, kHkeyLocalMachine, kLanguageKey, "ProdTWDCtr", 1);
  SetLanguage("ProdTWDFolder", "Talkwise");
  Release("ProdTWD");
  EXPECT_FALSE(HasLanguageValue("ProdTWD"));
  EXPECT_FALSE(HasLanguageValue("ProdTWDCtr"));
  EXPECT_FALSE(HasLanguageValue("ProdTWDFolder"));
  EXPECT_FALSE(SoundEventsRemain());
  EXPECT_TRUE(platform.links.updates.empty());
  EXPECT_EQ(RegisteredUnder("twcus.hlp"), "");
  EXPECT_EQ(RegisteredUnder("twliteus.hlp"), "");
  for (const char* kept : {"ProdTWDLite", "ProdTWDLiteCtr", "ProdTWDLiteFolder", "ProdTWC", "ProdTWCCtr"}) {
    EXPECT_TRUE(HasLanguageValue(kept)) << kept;
  }
}

TEST_F(ProductEntryTest, SoundEventsGoOnlyWithTheDictationProducts) {
  Release("ProdTWC");
  EXPECT_TRUE(SoundEventsRemain());
  Release("ProdTWDLite");
  EXPECT_FALSE(SoundEventsRemain());
}

struct RunFolderCase {
  const char* variant;
  const char* deleted;
  const char* kept;
};

void PrintTo(const RunFolderCase& run, std::ostream* out) { *out << run.variant; }

class ProdRunFolderTest : public ProductEntryTest, public ::testing::WithParamInterface<RunFolderCase> {};

TEST_P(ProdRunFolderTest, TheVariantNamesTheFolderValue) {
  SetLanguage("ProdRun", "1");
  WriteDword(platform.registry, kHkeyLocalMachine, kLanguageKey, "ProdRunCtr", 1);
  SetLanguage("ProdRunControlFolder", "Run Control");
  SetLanguage("ProdRunDictateFolder", "Run Dictate");
  SetLanguage("ProdRunFolder", "Run");
  Release("ProdRun", GetParam().variant);
  EXPECT_FALSE(HasLanguageValue("ProdRun"));
  EXPECT_FALSE(HasLanguageValue("ProdRunCtr"));
  EXPECT_FALSE(HasLanguageValue(GetParam().deleted));
  EXPECT_TRUE(HasLanguageValue(GetParam().kept));
  EXPECT_TRUE(HasLanguageValue("ProdRunFolder"));
  EXPECT_TRUE(SoundEventsRemain());
  EXPECT_TRUE(platform.links.updates.empty());
}

INSTANTIATE_TEST_SUITE_P(Variants, ProdRunFolderTest,
                         ::testing::Values(RunFolderCase{"C", "ProdRunControlFolder", "ProdRunDictateFolder"},
                                           RunFolderCase{"D", "ProdRunDictateFolder", "ProdRunControlFolder"},
                                           RunFolderCase{"N", "ProdRunDictateFolder", "ProdRunControlFolder"},
                                           RunFolderCase{"c", "ProdRunDictateFolder", "ProdRunControlFolder"},
                                           RunFolderCase{"CC", "ProdRunDictateFolder", "ProdRunControlFolder"}));

TEST_F(ProductEntryTest, ALanguageKeyThatCannotBeWrittenStillHandsOver) {
  TW_PORTABLE_ONLY();
  platform.registry.Protect(kHkeyLocalMachine, kLanguageKey);
  Release("ProdTWDLite");
  EXPECT_TRUE(HasLanguageValue("ProdTWDLiteCtr"));
  EXPECT_TRUE(HasLanguageValue("ProdTWDLite"));
  EXPECT_TRUE(HasLanguageValue("ProdTWDLiteFolder"));
  EXPECT_FALSE(SoundEventsRemain());
  EXPECT_EQ(RegisteredUnder("twcus.hlp"), "\\twc");
  EXPECT_EQ(platform.links.updates.size(), 2u);
}

TEST_F(ProductEntryTest, TheFolderValueGoesWhetherOrNotTheFolderStays) {
  platform.LoadRegText(
      "REGEDIT4\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Talkwise\\Install\\Languages\\EN_US\\ProdTWDLiteObjs]\n"
      "\"Dictation\"=\"Dictation\"\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Talkwise\\Install\\Languages\\EN_US\\ProdTWCObjs]\n"
      "\"Control Panel\"=\"Control\"\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Talkwise\\Install\\Languages\\EN_US\\Folders\\Talkwise Lite]\n"
      "\"Dictation\"=dword:00000001\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Talkwise\\Install\\Languages\\EN_US\\Folders\\Talkwise Control]\n"
      "\"Control Panel\"=dword:00000001\n"
      "\"Shared\"=dword:00000002\n");
  const std::string programs = "C:\\Start Menu\\Programs\\";
  platform.WriteFile(programs + "Talkwise Lite\\Dictation.lnk");
  platform.WriteFile(programs + "Talkwise Control\\Control Panel.lnk");
  platform.WriteFile(programs + "Talkwise Control\\Shared.lnk");

  Release("ProdTWDLite");  // its folder is free
  EXPECT_FALSE(platform.Exists(programs + "Talkwise Lite"));
  EXPECT_FALSE(HasLanguageValue("ProdTWDLiteFolder"));

  Release("ProdTWC");  // "Shared" keeps its folder in use
  EXPECT_FALSE(platform.Exists(programs + "Talkwise Control\\Control Panel.lnk"));
  EXPECT_TRUE(platform.Exists(programs + "Talkwise Control\\Shared.lnk"));
  EXPECT_FALSE(HasLanguageValue("ProdTWCFolder"));
}

}  // namespace
}  // namespace tw::test
