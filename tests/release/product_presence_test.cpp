// Which products, and which engine data, count as installed for a language.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "release/product_presence.h"
#include "tests/support/registry_probe.h"
#include "tests/support/test_platform.h"

namespace tw::test {
namespace {

using PresenceTest = int (*)(Registry&, const CodePage&, const std::string&);

class PresenceFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    EngineRelease("4.0.2");
    Flag("EN_US", "NavData", {1});
    Flag("EN_US", "DictData", {1});
  }
  void EngineRelease(const std::string& release) {
    WriteText(platform.registry, kHkeyLocalMachine, Family("Engine\\Version"), "Release", release);
  }
  void Flag(const std::string& language, const char* name, const std::vector<std::uint8_t>& data) {
    WriteValue(platform.registry, kHkeyLocalMachine, Family("Engine\\Languages\\" + language), name, kRegBinary, data);
  }
  void Present(const std::string& language, const std::string& product, std::size_t bytes = 4) {
    WriteValue(platform.registry, kHkeyLocalMachine, Family("Install\\Languages\\" + language), product, kRegBinary,
               std::vector<std::uint8_t>(bytes, 1));
  }
  int Ask(PresenceTest test, const std::string& language = "EN_US") {
    const int result = test(platform.registry, platform.codePage, language);
    EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
    return result;
  }
  int Data(int kind, const std::string& language = "EN_US") {
    const int result = HasEngineLanguageData(platform.registry, platform.codePage, language, kind);
    EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
    return result;
  }

  TestPlatform platform;
};

struct ReleaseCase {
  std::optional<std::string> release;
  int counts;
};

void PrintTo(const ReleaseCase& release, std::ostream* out) { *out << release.release.value_or("(missing)"); }

class EngineReleaseTest : public PresenceFixture, public ::testing::WithParamInterface<ReleaseCase> {};

TEST_P(EngineReleaseTest, OnlyA40EngineWithinTenCharactersCounts) {
  if (GetParam().release) {
    EngineRelease(*GetParam().release);
  } else {
    ASSERT_EQ(platform.registry.DeleteKey(kHkeyLocalMachine, Family("Engine\\Version").c_str()), kErrorSuccess);
  }
  Present("EN_US", "ProdTWC");
  EXPECT_EQ(Data(kNavigationData), GetParam().counts);
  EXPECT_EQ(Data(kDictationData), GetParam().counts);
  EXPECT_EQ(Ask(LanguageHasProdTWC), GetParam().counts);
}

INSTANTIATE_TEST_SUITE_P(Releases, EngineReleaseTest,
                         ::testing::Values(ReleaseCase{std::string("4.0"), 1}, ReleaseCase{std::string("4.01"), 1},
                                           ReleaseCase{std::string("4.0.1.2345"), 1},   // 10 characters
                                           ReleaseCase{std::string("4.0.1.23456"), 0},  // 11
                                           ReleaseCase{std::string("4.1"), 0}, ReleaseCase{std::string("3.0"), 0},
                                           ReleaseCase{std::string("4."), 0}, ReleaseCase{std::string("4,0"), 0},
                                           ReleaseCase{std::nullopt, 0}));

struct FlagCase {
  const char* name;
  std::optional<std::vector<std::uint8_t>> navData;
  int counts;
};

void PrintTo(const FlagCase& flag, std::ostream* out) { *out << flag.name; }

class NavDataTest : public PresenceFixture, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(NavDataTest, OnlyASingleNonZeroByteCounts) {
  ASSERT_EQ(platform.registry.DeleteKey(kHkeyLocalMachine, Family("Engine\\Languages\\EN_US").c_str()), kErrorSuccess);
  if (GetParam().navData) Flag("EN_US", "NavData", *GetParam().navData);
  Flag("EN_US", "DictData", {1});
  EXPECT_EQ(HasEngineLanguageData(platform.registry, platform.codePage, "EN_US", kNavigationData), GetParam().counts);
  EXPECT_EQ(HasEngineLanguageData(platform.registry, platform.codePage, "EN_US", kDictationData), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, NavDataTest,
    ::testing::Values(FlagCase{"One", std::vector<std::uint8_t>{1}, 1},
                      FlagCase{"HighBit", std::vector<std::uint8_t>{0x80}, 1},
                      FlagCase{"Zero", std::vector<std::uint8_t>{0}, 0},
                      FlagCase{"FourBytes", std::vector<std::uint8_t>{1, 0, 0, 0}, 0},
                      FlagCase{"TwoBytes", std::vector<std::uint8_t>{1, 1}, 0},
                      // A flag without data says nothing about the data set: absent.
                      FlagCase{"Empty", std::vector<std::uint8_t>{}, 0}, FlagCase{"Missing", std::nullopt, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PresenceFixture, OnlyTheTwoKnownDataKindsCount) {
  EXPECT_EQ(Data(kNavigationData), 1);
  EXPECT_EQ(Data(kDictationData), 1);
  for (int kind : {0, 3, -1}) EXPECT_EQ(Data(kind), 0) << kind;
}

TEST_F(PresenceFixture, EachProductNeedsItsOwnEngineData) {
  for (const char* product : {"ProdTWDLite", "ProdTWC", "ProdTWD", "ProdRun"}) Present("EN_US", product);
  Flag("EN_US", "DictData", {0});
  EXPECT_EQ(Ask(LanguageHasProdTWDLite), 0);
  EXPECT_EQ(Ask(LanguageHasProdTWC), 1);
  EXPECT_EQ(Ask(LanguageHasProdTWD), 1);
  EXPECT_EQ(Ask(LanguageHasProdRun), 1);
  Flag("EN_US", "DictData", {1});
  Flag("EN_US", "NavData", {0});
  EXPECT_EQ(Ask(LanguageHasProdTWDLite), 1);
  EXPECT_EQ(Ask(LanguageHasProdTWC), 0);
  EXPECT_EQ(Ask(LanguageHasProdTWD), 0);
  EXPECT_EQ(Ask(LanguageHasProdRun), 0);
}

TEST(PresenceTest, EachProductLooksOnlyForItsOwnValue) {
  const std::vector<std::pair<const char*, PresenceTest>> tests = {{"ProdTWDLite", LanguageHasProdTWDLite},
                                                                   {"ProdTWC", LanguageHasProdTWC},
                                                                   {"ProdTWD", LanguageHasProdTWD},
                                                                   {"ProdRun", LanguageHasProdRun}};
  for (const auto& present : tests) {
    TestPlatform platform;
    WriteText(platform.registry, kHkeyLocalMachine, Family("Engine\\Version"), "Release", "4.0");
    WriteValue(platform.registry, kHkeyLocalMachine, Family("Engine\\Languages\\EN_US"), "NavData", kRegBinary, {1});
    WriteValue(platform.registry, kHkeyLocalMachine, Family("Engine\\Languages\\EN_US"), "DictData", kRegBinary, {1});
    WriteText(platform.registry, kHkeyLocalMachine, Family("Install\\Languages\\EN_US"), present.first, "");
    for (const auto& asked : tests) {
      EXPECT_EQ(asked.second(platform.registry, platform.codePage, "EN_US"), asked.first == present.first ? 1 : 0)
          << present.first << " installed, " << asked.first << " asked";
    }
  }
}

TEST_F(PresenceFixture, PresenceValueOfAnyTypeUpTo249Bytes) {
  Present("EN_US", "ProdTWC", 249);
  Present("EN_US", "ProdRun", 250);
  Present("EN_US", "ProdTWDLite", 0);
  EXPECT_EQ(Ask(LanguageHasProdTWC), 1);
  EXPECT_EQ(Ask(LanguageHasProdRun), 0);
  EXPECT_EQ(Ask(LanguageHasProdTWDLite), 1);
}

TEST_F(PresenceFixture, TestsLookUnderTheFirstEightCharactersUpperCased) {
  Flag("ABCDEFGH", "NavData", {1});
  Present("ABCDEFGH", "ProdTWC");
  EXPECT_EQ(Ask(LanguageHasProdTWC, "ABCDEFGHIJ"), 1);
  EXPECT_EQ(Ask(LanguageHasProdTWC, "abcdefghXY"), 1);
  EXPECT_EQ(Ask(LanguageHasProdTWC, "ABCDEFG"), 0);
  // Keys named by the whole code are not the ones looked at.
  Flag("ZYXWVUTSRQ", "NavData", {1});
  Present("ZYXWVUTSRQ", "ProdTWC");
  EXPECT_EQ(Ask(LanguageHasProdTWC, "ZYXWVUTSRQ"), 0);
}

struct BundledCase {
  const char* name;
  std::optional<std::string> controlRelease;
  bool languageKey;
  int present;
};

void PrintTo(const BundledCase& bundled, std::ostream* out) { *out << bundled.name; }

class BundledControlTest : public PresenceFixture, public ::testing::WithParamInterface<BundledCase> {};

TEST_P(BundledControlTest, ProdTWDWithoutItsValueCountsBesideControl3000) {
  if (GetParam().controlRelease) {
    WriteText(platform.registry, kHkeyLocalMachine, Family("Control\\Version"), "Release", *GetParam().controlRelease);
  }
  if (GetParam().languageKey) Present("EN_US", "ProdTWC");
  EXPECT_EQ(Ask(LanguageHasProdTWD), GetParam().present);
  EXPECT_EQ(Ask(LanguageHasProdRun), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Releases, BundledControlTest,
    ::testing::Values(BundledCase{"Bundled", std::string("3.0.0.0"), true, 1},
                      BundledCase{"Later", std::string("3.0.0.1"), true, 0},
                      BundledCase{"Longer", std::string("3.0.0.0.0"), true, 0},
                      BundledCase{"NoLanguageKey", std::string("3.0.0.0"), false, 0},
                      BundledCase{"NoControlRelease", std::nullopt, true, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PresenceFixture, BundledControlNeedsNavigationDataToo) {
  WriteText(platform.registry, kHkeyLocalMachine, Family("Control\\Version"), "Release", "3.0.0.0");
  Present("EN_US", "ProdTWC");
  Flag("EN_US", "NavData", {0});
  EXPECT_EQ(Ask(LanguageHasProdTWD), 0);
}

}  // namespace
}  // namespace tw::test
