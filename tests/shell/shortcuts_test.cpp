// Release of the product's start-menu shortcuts for one language.
#include <gtest/gtest.h>

#include "tests/support/fault_injection.h"
#include "tests/support/registry_probe.h"
#include "tests/support/start_menu_test.h"

namespace tw::test {
namespace {

const std::string kFolder = std::string("C:\\users\\Ann\\Start Menu\\Programs") + "\\Talkwise Dictation";
const std::string kLanguage = Family("Install\\Languages\\EN_US");
const std::string kCounters = kLanguage + "\\Folders\\Talkwise Dictation";
constexpr const char* kLite = "ProdTWDLite D en_us C:\\u.exe log";
constexpr const char* kTWC = "ProdTWC C en_us C:\\u.exe log";

class ShortcutsTest : public StartMenuTest {
 protected:
  void SetUp() override {
    platform.LoadFixture("shortcuts.reg");
    for (const char* name : {"Begin Here", "Dictate", "Train", "Command"}) platform.WriteFile(Shortcut(name));
    platform.WriteFile(std::string(kPrograms) + "\\Talkwise\\Read Me.lnk");
  }

  // ReleaseShortcuts, and RemoveProgramFolder when it says the folder is free, as the release does.
  int Release(const std::string& commandLine, std::string* folderName = nullptr) {
    auto app = MakeApp(commandLine);
    std::string folder = "left over";
    const int result = app->ReleaseShortcuts(folder);
    if (result == 0) app->RemoveProgramFolder(folder);
    if (folderName) *folderName = folder;
    EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
    EXPECT_EQ(watched.OpenSearchCount(), 0u);
    return result;
  }
  static std::string Shortcut(const std::string& name) { return kFolder + "\\" + name + ".lnk"; }
  std::optional<std::uint32_t> Counter(const std::string& name) {
    return DwordValue(platform.registry, kHkeyLocalMachine, kCounters, name);
  }
  bool Key(const std::string& path) { return KeyExists(platform.registry, kHkeyLocalMachine, path); }
};

TEST_F(ShortcutsTest, SharedShortcutsStayUntilTheLastProductGoes) {
  std::string folder;
  EXPECT_EQ(Release(kLite, &folder), 1);
  EXPECT_EQ(folder, "Talkwise Dictation");
  EXPECT_EQ(Counter("Begin Here"), 1u);
  EXPECT_TRUE(platform.Exists(Shortcut("Begin Here")));
  for (const char* gone : {"Dictate", "Train"}) {
    EXPECT_FALSE(Counter(gone).has_value()) << gone;
    EXPECT_FALSE(platform.Exists(Shortcut(gone))) << gone;
  }
  EXPECT_TRUE(platform.Exists(Shortcut("Command")));
  EXPECT_FALSE(Key(kLanguage + "\\ProdTWDLiteObjs"));
  EXPECT_TRUE(Key(kLanguage + "\\ProdTWCObjs"));

  EXPECT_EQ(Release(kTWC, &folder), 0);
  EXPECT_EQ(folder, "Talkwise Dictation");
  EXPECT_FALSE(Key(kCounters));
  EXPECT_TRUE(Key(kLanguage + "\\Folders"));
  EXPECT_FALSE(platform.Exists(kFolder));
  EXPECT_TRUE(platform.Exists(std::string(kPrograms) + "\\Talkwise\\Read Me.lnk"));
}

struct CounterCase {
  std::optional<std::uint32_t> before;
  std::optional<std::uint32_t> after;
  bool fileStays;
};

class ShortcutCounterTest : public ShortcutsTest, public ::testing::WithParamInterface<CounterCase> {};

TEST_P(ShortcutCounterTest, ReleasesByTheCounter) {
  platform.LoadRegText("REGEDIT4\n[HKEY_LOCAL_MACHINE\\" + kCounters + "]\n\"Dictate\"=-\n");
  if (GetParam().before) WriteDword(platform.registry, kHkeyLocalMachine, kCounters, "Dictate", *GetParam().before);
  EXPECT_EQ(Release(kLite), 1);  // Begin Here and Command are still counted
  EXPECT_EQ(Counter("Dictate"), GetParam().after);
  EXPECT_EQ(platform.Exists(Shortcut("Dictate")), GetParam().fileStays);
}

INSTANTIATE_TEST_SUITE_P(Counters, ShortcutCounterTest,
                         ::testing::Values(CounterCase{3u, 2u, true}, CounterCase{2u, 1u, true},
                                           CounterCase{1u, std::nullopt, false}, CounterCase{0u, std::nullopt, false},
                                           CounterCase{std::nullopt, std::nullopt, true},
                                           // -1 reads as no counter; other negative values are no count either
                                           CounterCase{0xFFFFFFFFu, 0xFFFFFFFFu, true},
                                           CounterCase{0x80000000u, 0x80000000u, true}));

TEST_F(ShortcutsTest, WithoutFolderValueOnlyTheShortcutListGoes) {
  platform.LoadRegText("REGEDIT4\n[HKEY_LOCAL_MACHINE\\" + kLanguage + "]\n\"ProdTWDLiteFolder\"=-\n");
  const std::string before = platform.Snapshot();
  std::string folder;
  EXPECT_EQ(Release(kLite, &folder), 1);
  EXPECT_EQ(folder, "Talkwise");
  EXPECT_FALSE(Key(kLanguage + "\\ProdTWDLiteObjs"));
  EXPECT_EQ(Counter("Dictate"), 1u);
  EXPECT_TRUE(watched.changes.empty());

  platform.LoadRegText("REGEDIT4\n[HKEY_LOCAL_MACHINE\\" + kLanguage + "]\n\"FolderName\"=-\n");
  EXPECT_EQ(Release(kLite, &folder), 1);
  EXPECT_EQ(folder, "");
}

// An empty folder value would make "Folders" itself the folder's counter key:
// on a registry that deletes whole trees every folder's counters would go, and
// the language's default folder would be removed while others use it.
TEST_F(ShortcutsTest, EmptyFolderValueNamesNoFolder) {
  TW_PORTABLE_ONLY();
  platform.registry.SetDeletesWholeTree(true);
  WriteText(platform.registry, kHkeyLocalMachine, kLanguage, "ProdTWDLiteFolder", "");
  platform.WriteFile(std::string(kPrograms) + "\\Talkwise\\Other Product.lnk");
  std::string folder;
  EXPECT_EQ(Release(kLite, &folder), 1);
  EXPECT_EQ(folder, "Talkwise");
  EXPECT_EQ(Counter("Dictate"), 1u);
  EXPECT_TRUE(platform.Exists(std::string(kPrograms) + "\\Talkwise\\Other Product.lnk"));
  EXPECT_TRUE(watched.changes.empty());
}

TEST_F(ShortcutsTest, EmptyCounterKeyIsFreedWithoutTouchingTheDisk) {
  platform.LoadRegText("REGEDIT4\n[-HKEY_LOCAL_MACHINE\\" + kLanguage + "\\ProdTWDLiteObjs]\n[-HKEY_LOCAL_MACHINE\\" +
                       kCounters + "]\n[HKEY_LOCAL_MACHINE\\" + kCounters + "]\n");
  auto app = MakeApp(kLite);
  std::string folder;
  EXPECT_EQ(app->ReleaseShortcuts(folder), 0);
  EXPECT_EQ(folder, "Talkwise Dictation");
  EXPECT_FALSE(Key(kCounters));
  EXPECT_TRUE(watched.changes.empty());
}

TEST_F(ShortcutsTest, LongComponentDataIsNotCollected) {
  // 50 bytes with the terminator fit the buffer, 51 do not.
  WriteText(platform.registry, kHkeyLocalMachine, kLanguage + "\\ProdTWDLiteObjs", "Dictate", std::string(50, 'D'));
  WriteText(platform.registry, kHkeyLocalMachine, kLanguage + "\\ProdTWDLiteObjs", "Train", std::string(49, 'E'));
  Release(kLite);
  EXPECT_EQ(Counter("Dictate"), 1u);
  EXPECT_TRUE(platform.Exists(Shortcut("Dictate")));
  EXPECT_FALSE(Counter("Train").has_value());
  EXPECT_FALSE(platform.Exists(Shortcut("Train")));
}

TEST_F(ShortcutsTest, ProdTWDWithoutComponentListCollectsNothing) {
  WriteText(platform.registry, kHkeyLocalMachine, kLanguage, "ProdTWDFolder", "Talkwise Dictation");
  WriteText(platform.registry, kHkeyLocalMachine, kLanguage + "\\ProdTWDObjs", "Dictate", "Dictation");
  EXPECT_EQ(Release("ProdTWD D en_us C:\\u.exe log"), 1);
  EXPECT_FALSE(Key(kLanguage + "\\ProdTWDObjs"));
  EXPECT_EQ(Counter("Dictate"), 1u);
  EXPECT_TRUE(watched.changes.empty());
}

TEST_F(ShortcutsTest, ProdTWDReleasesOnlyTheShortcutsOfItsListedComponents) {
  WriteText(platform.registry, kHkeyLocalMachine, kLanguage, "ProdTWDList", " Dictation  Enroll ");
  WriteText(platform.registry, kHkeyLocalMachine, kLanguage, "ProdTWDFolder", "Talkwise Dictation");
  const std::string objs = kLanguage + "\\ProdTWDObjs";
  WriteText(platform.registry, kHkeyLocalMachine, objs, "Dictate", "Dictation");
  WriteText(platform.registry, kHkeyLocalMachine, objs, "Begin Here", "Audio");
  WriteText(platform.registry, kHkeyLocalMachine, objs, "Command", "enroll");  // names differ in case
  auto app = MakeApp("ProdTWD D en_us C:\\u.exe log");
  app->BuildComponentList();
  std::string folder;
  EXPECT_EQ(app->ReleaseShortcuts(folder), 1);
  EXPECT_FALSE(Counter("Dictate").has_value());
  EXPECT_FALSE(platform.Exists(Shortcut("Dictate")));
  EXPECT_EQ(Counter("Begin Here"), 2u);
  EXPECT_EQ(Counter("Command"), 1u);
  EXPECT_TRUE(platform.Exists(Shortcut("Command")));
  EXPECT_FALSE(Key(objs));
}

// The shared release of the last product that uses the language's "Install"
// component frees the folder and removes it from the disk.
TEST_F(ShortcutsTest, SharedReleaseRemovesTheFreedProgramFolder) {
  WriteDword(platform.registry, kHkeyLocalMachine, Family("Install\\Counters"), "ProductCtr", 2);
  WriteDword(platform.registry, kHkeyLocalMachine, kLanguage, "UsageCtr", 1);
  Release(kLite);
  platform.Run(kTWC);
  EXPECT_FALSE(Key(kLanguage));
  EXPECT_FALSE(platform.Exists(kFolder));
  EXPECT_TRUE(platform.Exists(std::string(kPrograms) + "\\Talkwise\\Read Me.lnk"));
}

TEST_F(ShortcutsTest, CountersAreReleasedEvenWhenTheFileCannotGo) {
  MakeReadOnly(Shortcut("Dictate"));
  platform.files.RemoveFile(Shortcut("Train").c_str());
  Release(kLite);
  EXPECT_TRUE(platform.Exists(Shortcut("Dictate")));
  EXPECT_FALSE(Counter("Dictate").has_value());
  EXPECT_FALSE(Counter("Train").has_value());
  EXPECT_EQ(watched.changes, (std::vector<std::string>{"RemoveFile " + Shortcut("Dictate"),
                                                       "RemoveFile " + Shortcut("Train")}));
}

struct VariantCase {
  const char* variant;
  const char* folder;
};

class ProdRunShortcutFolderTest : public ShortcutsTest, public ::testing::WithParamInterface<VariantCase> {};

TEST_P(ProdRunShortcutFolderTest, VariantLetterChoosesTheFolderValue) {
  WriteText(platform.registry, kHkeyLocalMachine, kLanguage, "ProdRunControlFolder", "Run Control");
  WriteText(platform.registry, kHkeyLocalMachine, kLanguage, "ProdRunDictateFolder", "Run Dictate");
  std::string folder;
  Release(std::string("ProdRun ") + GetParam().variant + " en_us C:\\u.exe log", &folder);
  EXPECT_EQ(folder, GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(Variants, ProdRunShortcutFolderTest,
                         ::testing::Values(VariantCase{"C", "Run Control"}, VariantCase{"D", "Run Dictate"},
                                           VariantCase{"N", "Run Dictate"}, VariantCase{"c", "Run Dictate"},
                                           VariantCase{"CC", "Run Dictate"}));

struct OtherLanguageCase {
  const char* keyName;
  std::optional<std::string> folderName;
  int result;
};

class OtherLanguageTest : public ShortcutsTest, public ::testing::WithParamInterface<OtherLanguageCase> {};

TEST_P(OtherLanguageTest, FolderStaysWhileAnotherLanguageNamesIt) {
  const std::string other = Family("Install\\Languages\\") + GetParam().keyName;
  WriteDword(platform.registry, kHkeyLocalMachine, other, "UsageCtr", 1);
  if (GetParam().folderName) WriteText(platform.registry, kHkeyLocalMachine, other, "FolderName", *GetParam().folderName);
  Release(kLite);
  EXPECT_EQ(Release(kTWC), GetParam().result);
  EXPECT_FALSE(Key(kCounters));
  EXPECT_EQ(platform.Exists(kFolder), GetParam().result == 1);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, OtherLanguageTest,
    ::testing::Values(OtherLanguageCase{"FR_FR", "Talkwise Dictation", 1},
                      OtherLanguageCase{"FR_FR", "TALKWISE dictation", 1},
                      OtherLanguageCase{"FR_FR", "Talkwise Dictation 2", 0},
                      OtherLanguageCase{"FR_FR", std::nullopt, 0},
                      // longer than 19 characters: still a language that uses the folder
                      OtherLanguageCase{"FR_FR_WITH_A_LONGER_CODE_THAN_USUAL", "Talkwise Dictation", 1}));

// Subkey lists that break off after their first name, as when the key is
// deleted meanwhile.
class BrokenOffListings : public FaultyRegistry {
 public:
  using FaultyRegistry::FaultyRegistry;
  Status EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameChars) override {
    return index >= 1 ? kErrorKeyDeleted : FaultyRegistry::EnumKey(key, index, name, nameChars);
  }
};

TEST_F(ShortcutsTest, ALanguageListThatBreaksOffKeepsTheFolder) {
  // Listed whole, this language would leave the folder free: it names none.
  WriteDword(platform.registry, kHkeyLocalMachine, Family("Install\\Languages\\FR_FR"), "UsageCtr", 1);
  Release(kLite);
  FaultSchedule schedule;
  BrokenOffListings registry(platform.registry, schedule);
  const Platform view = platform.View();
  UninstallApp app({registry, watched, view.processes, view.messages, view.links, view.engine, view.codePage, view.user,
                     view.lock, view.notes},
                   kTWC,
                   TestPlatform::kInstance);
  ASSERT_TRUE(app.ParseCommandLine());
  std::string folder;
  EXPECT_EQ(app.ReleaseShortcuts(folder), 1);
  EXPECT_FALSE(Key(kCounters));
}

// The scan compares key names exactly: the language's own key stored in
// another case counts as another language, and its folder stays.
TEST_F(ShortcutsTest, OwnLanguageKeyIsSkippedOnlyWhenStoredInTheSameCase) {
  WriteText(platform.registry, kHkeyLocalMachine, kLanguage, "FolderName", "Talkwise Dictation");
  Release(kLite);
  EXPECT_EQ(Release(kTWC), 0);

  std::string fixture = ReadFixture("shortcuts.reg");
  for (std::size_t at; (at = fixture.find("EN_US")) != std::string::npos;) fixture.replace(at, 5, "En_Us");
  platform.LoadRegText("REGEDIT4\n[-HKEY_LOCAL_MACHINE\\" + kLanguage + "]\n");
  platform.LoadRegText(fixture);
  WriteText(platform.registry, kHkeyLocalMachine, kLanguage, "FolderName", "Talkwise Dictation");
  Release(kLite);
  EXPECT_EQ(Release(kTWC), 1);
}

TEST_F(ShortcutsTest, TrailBytesOfFolderNamesCompareExactly) {
  const std::string folder = "\xD3\xEF\xD2\xF4\xB0\x41";  // in code page 936 the trail byte 0x41 is no letter
  WriteText(platform.registry, kHkeyLocalMachine, Family("Install\\Languages\\ZH_CN"), "FolderName",
            "\xD3\xEF\xD2\xF4\xB0\x61");
  for (unsigned codePage : {936u, 1252u}) {
    platform.codePage.Set(codePage);
    WriteText(platform.registry, kHkeyLocalMachine, kLanguage, "ProdTWCFolder", folder);
    WriteText(platform.registry, kHkeyLocalMachine, kLanguage + "\\ProdTWCObjs", "Command", "Control");
    WriteDword(platform.registry, kHkeyLocalMachine, kLanguage + "\\Folders\\" + folder, "Command", 1);
    std::string name;
    EXPECT_EQ(MakeApp(kTWC)->ReleaseShortcuts(name), codePage == 936 ? 0 : 1) << codePage;
    EXPECT_EQ(name, folder);
  }
}

}  // namespace
}  // namespace tw::test
