// Removal of the dictation sound events of one language from the user's hive.
#include <gtest/gtest.h>

#include "tests/support/registry_probe.h"
#include "tests/support/test_platform.h"

namespace tw::test {
namespace {

constexpr const char* kLabels = "AppEvents\\EventLabels\\";
constexpr const char* kScheme = "AppEvents\\Schemes\\Apps\\Talkwise";
const std::string kEntries = std::string(kScheme) + "\\";

class SoundEventsTest : public ::testing::Test {
 protected:
  void Remove(const std::string& languageCode) {
    auto app = platform.MakeApp("ProdTWD D " + languageCode + " C:\\u.exe log");
    ASSERT_TRUE(app->ParseCommandLine());
    app->RemoveSoundEvents();
    EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
  }
  bool Exists(const std::string& path) { return KeyExists(platform.registry, kHkeyCurrentUser, path); }
  void Create(const std::string& path) { WriteText(platform.registry, kHkeyCurrentUser, path, "", "x"); }

  TestPlatform platform;
};

TEST_F(SoundEventsTest, RemovingOneLanguageKeepsTheOtherAndTheSchemeKey) {
  platform.LoadFixture("sound_events_two_languages.reg");
  Remove("en_us");
  for (const char* event : {"Start Dictation US", "Stop Dictation US"}) {
    EXPECT_FALSE(Exists(kLabels + std::string(event))) << event;
    EXPECT_FALSE(Exists(kEntries + event)) << event;
  }
  for (const char* event : {"Start Dictation DE", "Stop Dictation DE"}) {
    EXPECT_TRUE(Exists(kLabels + std::string(event))) << event;
    EXPECT_TRUE(Exists(kEntries + event + "\\.Current")) << event;
  }
  EXPECT_TRUE(Exists(kScheme));
  EXPECT_TRUE(Exists("AppEvents\\EventLabels\\SystemAsterisk"));
  EXPECT_TRUE(Exists("AppEvents\\EventLabels\\Start Dictation USA"));
  EXPECT_TRUE(Exists("AppEvents\\Schemes\\Apps\\Other\\Start Dictation US"));
}

TEST_F(SoundEventsTest, LastLanguageTakesTheSchemeKeyWithItsValues) {
  platform.LoadFixture("sound_events_two_languages.reg");
  Remove("de_de");
  EXPECT_TRUE(Exists(kScheme));
  Remove("EN_US");
  EXPECT_FALSE(Exists(kScheme));
  EXPECT_TRUE(Exists("AppEvents\\Schemes\\Apps\\Other\\Start Dictation US"));
  EXPECT_TRUE(Exists("AppEvents\\Schemes\\Apps"));
}

TEST_F(SoundEventsTest, EmptySchemeKeyGoesEvenWhenTheLanguageHadNoEvents) {
  WriteText(platform.registry, kHkeyCurrentUser, kScheme, "Scheme", "kept values do not count");
  Remove("fr_fr");
  EXPECT_FALSE(Exists(kScheme));
}

TEST_F(SoundEventsTest, SchemeKeyWithAnyOtherSubkeyStays) {
  Create(kEntries + "Start Dictation DE");
  Create(kEntries + "Something Else");
  Remove("de_de");
  EXPECT_FALSE(Exists(kEntries + "Start Dictation DE"));
  EXPECT_TRUE(Exists(kEntries + "Something Else"));
}

TEST_F(SoundEventsTest, LabelsAndSchemeEntriesAreRemovedIndependently) {
  Create(std::string(kLabels) + "Stop Dictation US");
  Remove("en_us");
  EXPECT_FALSE(Exists(std::string(kLabels) + "Stop Dictation US"));
  EXPECT_FALSE(Exists(kScheme));

  Create(kEntries + "Stop Dictation US\\.Current");
  Remove("en_us");
  EXPECT_FALSE(Exists(kScheme));
}

struct SuffixCase {
  const char* languageCode;
  const char* removedSuffix;
};

class SoundEventSuffixTest : public SoundEventsTest, public ::testing::WithParamInterface<SuffixCase> {};

// Only the 4th and 5th characters of the language code name the events;
// positions beyond the end of a shorter code contribute nothing.
TEST_P(SoundEventSuffixTest, OnlyTheEventsOfThatSuffixGo) {
  const std::vector<std::string> suffixes = {"", "U", "US", "USA", "SA", "CN"};
  for (const std::string& suffix : suffixes) {
    for (const char* event : {"Start Dictation ", "Stop Dictation "}) {
      Create(kLabels + (event + suffix));
      Create(kEntries + event + suffix);
    }
  }
  Remove(GetParam().languageCode);
  for (const std::string& suffix : suffixes) {
    const bool removed = suffix == GetParam().removedSuffix;
    for (const char* event : {"Start Dictation ", "Stop Dictation "}) {
      EXPECT_EQ(Exists(kLabels + (event + suffix)), !removed) << '"' << event << suffix << '"';
      EXPECT_EQ(Exists(kEntries + event + suffix), !removed) << '"' << event << suffix << '"';
    }
  }
  EXPECT_TRUE(Exists(kScheme));
}

INSTANTIATE_TEST_SUITE_P(LanguageCodeLengths, SoundEventSuffixTest,
                         ::testing::Values(SuffixCase{"enu", ""}, SuffixCase{"EN_U", "U"}, SuffixCase{"en_us", "US"},
                                           SuffixCase{"EN_USA", "US"}, SuffixCase{"en_sax", "SA"},
                                           SuffixCase{"zh_cnxyz9", "CN"}));

TEST(SoundEventsRunTest, FullRemovalTakesTheSoundEvents) {
  TestPlatform platform;
  platform.LoadFixture("sound_events_two_languages.reg");
  WriteDword(platform.registry, kHkeyLocalMachine, Family("Install\\Counters"), "ProductCtr", 1);
  platform.Run("ProdTWD D en_us C:\\u.exe log");
  EXPECT_FALSE(KeyExists(platform.registry, kHkeyCurrentUser, kEntries + "Start Dictation US"));
  EXPECT_TRUE(KeyExists(platform.registry, kHkeyCurrentUser, kEntries + "Start Dictation DE"));
}

}  // namespace
}  // namespace tw::test
