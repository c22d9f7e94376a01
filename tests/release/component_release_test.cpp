// Which components a product uses, and how their counters are given back.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/registry_probe.h"
#include "tests/support/test_platform.h"

namespace tw::test {
namespace {

const std::string kLanguageKey = Family("Install\\Languages\\EN_US");
using Names = std::vector<std::string>;

std::string CommandFor(const std::string& productCode) { return productCode + " X en_us C:\\u.exe u.log"; }

std::unique_ptr<UninstallApp> ParsedApp(TestPlatform& platform, const std::string& productCode) {
  auto app = platform.MakeApp(CommandFor(productCode));
  EXPECT_TRUE(app->ParseCommandLine());
  return app;
}

struct FixedListCase {
  const char* productCode;
  Names components;
};

class FixedComponentListTest : public ::testing::TestWithParam<FixedListCase> {};

TEST_P(FixedComponentListTest, ProductCodeSelectsTheList) {
  TestPlatform platform;
  // A ProdTWDList value is read for ProdTWD only.
  WriteText(platform.registry, kHkeyLocalMachine, kLanguageKey, "ProdTWDList", "Audio");
  auto app = ParsedApp(platform, GetParam().productCode);
  app->BuildComponentList();
  EXPECT_EQ(app->ComponentList(), GetParam().components);
}

const Names kWithDictation = {"Install", "Control", "Dictation", "Enroll", "Help", "Engine"};

INSTANTIATE_TEST_SUITE_P(
    Products, FixedComponentListTest,
    ::testing::Values(FixedListCase{"ProdTWC", {"Install", "Control", "Enroll", "Help", "Engine"}},
                      FixedListCase{"ProdTWDLite", kWithDictation}, FixedListCase{"ProdRun", kWithDictation},
                      FixedListCase{"prodtwc", kWithDictation}, FixedListCase{"prodtwd", kWithDictation},
                      FixedListCase{"ProdTWDX", kWithDictation}));

std::vector<std::uint8_t> Bytes(const std::string& text) { return std::vector<std::uint8_t>(text.begin(), text.end()); }
std::vector<std::uint8_t> Terminated(const std::string& text) {
  auto bytes = Bytes(text);
  bytes.push_back(0);
  return bytes;
}

struct StoredListCase {
  const char* name;
  std::optional<std::vector<std::uint8_t>> value;  // none: no "ProdTWDList" value
  Names components;
};

class StoredComponentListTest : public ::testing::TestWithParam<StoredListCase> {};

TEST_P(StoredComponentListTest, ProdTWDReadsItsWordsFromTheLanguageKey) {
  TestPlatform platform;
  WriteDword(platform.registry, kHkeyLocalMachine, kLanguageKey, "UsageCtr", 2);
  if (GetParam().value) WriteValue(platform.registry, kHkeyLocalMachine, kLanguageKey, "ProdTWDList", kRegSz, *GetParam().value);
  auto app = ParsedApp(platform, "ProdTWD");
  app->BuildComponentList();
  EXPECT_EQ(app->ComponentList(), GetParam().components);
  EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
}

const std::string k255 = std::string(251, 'A') + " Bcd";  // 255 characters
const std::string k256 = std::string(251, 'A') + " Bcde";  // 256 characters

INSTANTIATE_TEST_SUITE_P(
    Values, StoredComponentListTest,
    ::testing::Values(
        StoredListCase{"Plain", Terminated("Install Control Dictation"), {"Install", "Control", "Dictation"}},
        StoredListCase{"OddSpacing", Terminated(" Dictation  Help  Enroll "), {"Dictation", "Help", "Enroll"}},
        StoredListCase{"TabIsPartOfAWord", Terminated("Help\tEnroll  Audio"), {"Help\tEnroll", "Audio"}},
        StoredListCase{"OnlyBlanks", Terminated("    "), {}},
        StoredListCase{"EndsAtTheFirstTerminator", Terminated(std::string("Help\0Audio", 10)), {"Help"}},
        StoredListCase{"TwiceNamed", Terminated("Help Help"), {"Help", "Help"}},
        StoredListCase{"FillsTheBufferWithItsTerminator", Terminated(k255), {std::string(251, 'A'), "Bcd"}},
        StoredListCase{"FillsTheBufferWithoutTerminator", Bytes(k256), {std::string(251, 'A'), "Bcde"}},
        StoredListCase{"TooLong", Terminated(k256), {}}, StoredListCase{"Missing", std::nullopt, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StoredComponentListTest, MissingLanguageKeyLeavesTheListEmpty) {
  TestPlatform platform;
  WriteText(platform.registry, kHkeyLocalMachine, Family("Install\\Languages\\DE_DE"), "ProdTWDList", "Help");
  auto app = ParsedApp(platform, "ProdTWD");
  app->BuildComponentList();
  EXPECT_TRUE(app->ComponentList().empty());
}

// A component's two counters, the component key and its language key.
struct CounterCase {
  std::optional<std::uint32_t> stored;  // none: the value is missing, the key present
  std::optional<std::uint32_t> after;   // none: the key is gone with its subkeys
};

class CounterReleaseTest : public ::testing::TestWithParam<CounterCase> {
 protected:
  // ProdTWDList names Help only, so one counter of each kind is in play.
  void SetUp() override {
    WriteText(platform.registry, kHkeyLocalMachine, kLanguageKey, "ProdTWDList", "Help");
    WriteDword(platform.registry, kHkeyLocalMachine, kLanguageKey, "UsageCtr", 2);
    app = ParsedApp(platform, "ProdTWD");
    app->BuildComponentList();
  }

  void Store(const std::string& key) {
    WriteText(platform.registry, kHkeyLocalMachine, key + "\\Directories", "Help", "C:\\Help");
    if (GetParam().stored) WriteDword(platform.registry, kHkeyLocalMachine, key, "UsageCtr", *GetParam().stored);
  }

  void ExpectReleased(const std::string& key) {
    if (GetParam().after) {
      EXPECT_EQ(DwordValue(platform.registry, kHkeyLocalMachine, key, "UsageCtr"), GetParam().after);
      EXPECT_TRUE(KeyExists(platform.registry, kHkeyLocalMachine, key + "\\Directories"));
    } else if (!GetParam().stored) {
      EXPECT_FALSE(DwordValue(platform.registry, kHkeyLocalMachine, key, "UsageCtr").has_value());
      EXPECT_TRUE(KeyExists(platform.registry, kHkeyLocalMachine, key + "\\Directories"));
    } else {
      EXPECT_FALSE(KeyExists(platform.registry, kHkeyLocalMachine, key));
    }
    EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
  }

  TestPlatform platform;
  std::unique_ptr<UninstallApp> app;
};

TEST_P(CounterReleaseTest, ComponentLanguageCounter) {
  const std::string key = Family("Help\\Languages\\EN_US");
  Store(key);
  WriteDword(platform.registry, kHkeyLocalMachine, Family("Help"), "UsageCtr", 7);
  app->ReleaseComponentLanguages();
  ExpectReleased(key);
  EXPECT_EQ(DwordValue(platform.registry, kHkeyLocalMachine, Family("Help"), "UsageCtr"), 7u);
}

TEST_P(CounterReleaseTest, ComponentCounter) {
  const std::string key = Family("Help");
  Store(key);
  WriteDword(platform.registry, kHkeyLocalMachine, key + "\\Languages\\EN_US", "UsageCtr", 7);
  app->ReleaseComponents();
  ExpectReleased(key);
  if (GetParam().after || !GetParam().stored) {
    EXPECT_EQ(DwordValue(platform.registry, kHkeyLocalMachine, key + "\\Languages\\EN_US", "UsageCtr"), 7u);
  }
}

INSTANTIATE_TEST_SUITE_P(Counters, CounterReleaseTest,
                         ::testing::Values(CounterCase{5u, 4u}, CounterCase{2u, 1u}, CounterCase{1u, std::nullopt},
                                           CounterCase{0u, std::nullopt}, CounterCase{0xFFFFFFFFu, 0xFFFFFFFFu},
                                           CounterCase{std::nullopt, std::nullopt}),
                         [](const auto& info) {
                           return info.param.stored ? "Stored" + std::to_string(*info.param.stored) : "Missing";
                         });

struct UnchangedCase {
  const char* name;
  std::vector<std::uint8_t> list;
};

class NothingToReleaseTest : public ::testing::TestWithParam<UnchangedCase> {};

TEST_P(NothingToReleaseTest, LeavesTheRegistryAsItWas) {
  TestPlatform platform;
  platform.LoadFixture("family_minimal.reg");
  WriteValue(platform.registry, kHkeyLocalMachine, kLanguageKey, "ProdTWDList", kRegSz, GetParam().list);
  const std::string before = platform.Snapshot();
  auto app = ParsedApp(platform, "ProdTWD");
  app->BuildComponentList();
  app->ReleaseComponentLanguages();
  app->ReleaseComponents();
  EXPECT_EQ(platform.Snapshot(), before);
  EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, NothingToReleaseTest,
    ::testing::Values(UnchangedCase{"TooLongToRead", Terminated("Control Dictation " + std::string(240, 'x'))},
                      UnchangedCase{"ComponentsWithoutKeys", Terminated("Enroll Nothing Help")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ComponentReleaseTest, ComponentNamedTwiceIsReleasedTwice) {
  TestPlatform platform;
  WriteText(platform.registry, kHkeyLocalMachine, kLanguageKey, "ProdTWDList", "Help Enroll Help");
  WriteDword(platform.registry, kHkeyLocalMachine, Family("Help"), "UsageCtr", 3);
  WriteDword(platform.registry, kHkeyLocalMachine, Family("Help\\Languages\\EN_US"), "UsageCtr", 3);
  WriteDword(platform.registry, kHkeyLocalMachine, Family("Enroll"), "UsageCtr", 3);
  auto app = ParsedApp(platform, "ProdTWD");
  app->BuildComponentList();
  app->ReleaseComponentLanguages();
  app->ReleaseComponents();
  EXPECT_EQ(DwordValue(platform.registry, kHkeyLocalMachine, Family("Help"), "UsageCtr"), 1u);
  EXPECT_EQ(DwordValue(platform.registry, kHkeyLocalMachine, Family("Help\\Languages\\EN_US"), "UsageCtr"), 1u);
  EXPECT_EQ(DwordValue(platform.registry, kHkeyLocalMachine, Family("Enroll"), "UsageCtr"), 2u);
}

TEST(ComponentReleaseTest, InstallAndEngineKeepTheirComponentCounters) {
  TestPlatform platform;
  for (const char* component : {"Install", "Control", "Dictation", "Enroll", "Help", "Engine"}) {
    WriteDword(platform.registry, kHkeyLocalMachine, Family(component), "UsageCtr", 1);
    WriteDword(platform.registry, kHkeyLocalMachine, Family(std::string(component) + "\\Languages\\EN_US"), "UsageCtr",
               2);
  }
  auto app = ParsedApp(platform, "ProdTWDLite");
  app->BuildComponentList();
  app->ReleaseComponentLanguages();
  app->ReleaseComponents();
  for (const char* component : {"Install", "Engine"}) {
    EXPECT_EQ(DwordValue(platform.registry, kHkeyLocalMachine, Family(component), "UsageCtr"), 1u) << component;
    EXPECT_EQ(DwordValue(platform.registry, kHkeyLocalMachine, Family(std::string(component) + "\\Languages\\EN_US"),
                         "UsageCtr"),
              1u)
        << component;
  }
  for (const char* component : {"Control", "Dictation", "Enroll", "Help"}) {
    EXPECT_FALSE(KeyExists(platform.registry, kHkeyLocalMachine, Family(component))) << component;
  }
}

TEST(ComponentReleaseTest, LastInstallUserTakesTheWholeLanguageKey) {
  TestPlatform platform;
  WriteDword(platform.registry, kHkeyLocalMachine, kLanguageKey, "UsageCtr", 1);
  WriteDword(platform.registry, kHkeyLocalMachine, kLanguageKey, "ProdTWDLiteCtr", 1);
  WriteText(platform.registry, kHkeyLocalMachine, kLanguageKey, "ProdTWDLite", "");
  WriteText(platform.registry, kHkeyLocalMachine, kLanguageKey, "ProdTWDLiteFolder", "Talkwise Lite");
  WriteText(platform.registry, kHkeyLocalMachine, kLanguageKey + "\\ProdTWDLiteObjs", "Read Me", "Help");
  WriteDword(platform.registry, kHkeyLocalMachine, kLanguageKey + "\\Folders\\Talkwise Lite", "Read Me", 1);
  WriteDword(platform.registry, kHkeyLocalMachine, Family("Install\\Languages\\DE_DE"), "ProdTWDLiteCtr", 1);
  auto app = ParsedApp(platform, "ProdTWDLite");
  app->BuildComponentList();
  app->ReleaseComponentLanguages();
  EXPECT_FALSE(KeyExists(platform.registry, kHkeyLocalMachine, kLanguageKey));
  EXPECT_EQ(DwordValue(platform.registry, kHkeyLocalMachine, Family("Install\\Languages\\DE_DE"), "ProdTWDLiteCtr"),
            1u);

  // The product's own entry for the language went with the key.
  const std::string released = platform.Snapshot();
  app->ReleaseProductEntry();
  EXPECT_EQ(platform.Snapshot(), released);
}

TEST(ComponentReleaseTest, NameThatMakesAnOverlongPathIsPassedOver) {
  TW_PORTABLE_ONLY();
  TestPlatform platform;
  // 26 + 229 = 255 characters: the component key itself still fits, its
  // language key does not. A registry that deletes whole trees lets the
  // component go with its unreachable subkeys.
  platform.registry.SetDeletesWholeTree(true);
  const std::string name(229, 'C');
  WriteText(platform.registry, kHkeyLocalMachine, kLanguageKey, "ProdTWDList", name);
  WriteDword(platform.registry, kHkeyLocalMachine, Family(name), "UsageCtr", 1);
  WriteDword(platform.registry, kHkeyLocalMachine, Family(name + "\\Languages\\EN_US"), "UsageCtr", 1);
  auto app = ParsedApp(platform, "ProdTWD");
  app->BuildComponentList();
  app->ReleaseComponentLanguages();
  EXPECT_TRUE(KeyExists(platform.registry, kHkeyLocalMachine, Family(name + "\\Languages\\EN_US")));
  EXPECT_TRUE(KeyExists(platform.registry, kHkeyLocalMachine, Family(name)));
  app->ReleaseComponents();
  EXPECT_FALSE(KeyExists(platform.registry, kHkeyLocalMachine, Family(name)));
}

}  // namespace
}  // namespace tw::test
