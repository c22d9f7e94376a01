// A whole run that removes one product while another of the family stays.
#include <gtest/gtest.h>

#include "tests/support/registry_probe.h"
#include "tests/support/test_platform.h"

namespace tw::test {
namespace {

TEST(SharedReleaseRunTest, ReleasesComponentsLanguagesAndEngineData) {
  TestPlatform platform;
  platform.LoadFixture("shared_release.reg");
  platform.Run("ProdTWDLite X en_us C:\\Uninst\\uninst.exe C:\\Uninst\\install.log");
  Registry& registry = platform.registry;
  const auto counter = [&](const std::string& key, const std::string& name = "UsageCtr") {
    return DwordValue(registry, kHkeyLocalMachine, Family(key), name);
  };

  EXPECT_EQ(counter("Install\\Counters", "ProductCtr"), 1u);
  // Shared components and their language keys are decremented ...
  for (const char* component : {"Install", "Control", "Enroll", "Help", "Engine"}) {
    EXPECT_EQ(counter(std::string(component) + "\\Languages\\EN_US"), 1u) << component;
  }
  for (const char* component : {"Control", "Enroll", "Help"}) EXPECT_EQ(counter(component), 1u) << component;
  // ... while Install and Engine keep their component counters for the full removal.
  EXPECT_EQ(counter("Install"), 2u);
  EXPECT_EQ(counter("Engine"), 2u);
  // The dictation component had no other user.
  EXPECT_FALSE(KeyExists(registry, kHkeyLocalMachine, Family("Dictation")));

  // The navigation data is shared on; the dictation data is released.
  EXPECT_EQ(counter("Engine\\Languages\\EN_US", "NavDataCtr"), 1u);
  EXPECT_EQ(ValueBytes(registry, kHkeyLocalMachine, Family("Engine\\Languages\\EN_US"), "NavData"),
            std::vector<std::uint8_t>{1});
  EXPECT_EQ(counter("Engine\\Languages\\EN_US", "DictDataCtr"), 0u);
  EXPECT_EQ(ValueBytes(registry, kHkeyLocalMachine, Family("Engine\\Languages\\EN_US"), "DictData"),
            std::vector<std::uint8_t>{0});
  ASSERT_EQ(platform.engine.calls.size(), 1u);
  EXPECT_EQ(platform.engine.calls[0].window, 0u);
  EXPECT_EQ(platform.engine.calls[0].instance, TestPlatform::kInstance);
  EXPECT_EQ(platform.engine.calls[0].languageCode, "EN_US");
  EXPECT_EQ(platform.engine.calls[0].userName, "cstartus");

  // The shared release leaves the application paths to the last product.
  EXPECT_TRUE(KeyExists(registry, kHkeyLocalMachine,
                        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\speakfit.exe"));
  ASSERT_EQ(platform.processes.started.size(), 1u);
  EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
}

TEST(SharedReleaseRunTest, LastUserOfTheLanguageTakesItsEngineDataWithTheEngineLanguageKey) {
  TestPlatform platform;
  platform.LoadFixture("shared_release.reg");
  WriteDword(platform.registry, kHkeyLocalMachine, Family("Engine\\Languages\\EN_US"), "UsageCtr", 1);
  platform.Run("ProdTWC X en_us C:\\Uninst\\uninst.exe C:\\Uninst\\install.log");
  // The component release deleted the key before the engine data was looked at.
  EXPECT_FALSE(KeyExists(platform.registry, kHkeyLocalMachine, Family("Engine\\Languages\\EN_US")));
  EXPECT_TRUE(platform.engine.calls.empty());
  // ProdTWC never used the dictation component.
  EXPECT_EQ(DwordValue(platform.registry, kHkeyLocalMachine, Family("Dictation"), "UsageCtr"), 1u);
}

}  // namespace
}  // namespace tw::test
