// The choice between shared release and full removal, and the full removal's
// component trees.
#include <gtest/gtest.h>

#include "tests/support/registry_probe.h"
#include "tests/support/test_platform.h"

namespace tw::test {
namespace {

constexpr const char* kCommand = "ProdTWC C en_us C:\\u.exe log";
const char* const kComponents[] = {"Control", "Dictation", "Enroll", "Help", "Engine", "Audio", "Install"};

void SetProductCounter(TestPlatform& platform, std::optional<std::uint32_t> value) {
  if (value) {
    WriteDword(platform.registry, kHkeyLocalMachine, Family("Install\\Counters"), "ProductCtr", *value);
  } else {
    RegKey key = 0;
    ASSERT_EQ(platform.registry.OpenKey(kHkeyLocalMachine, Family("Install\\Counters").c_str(), kKeyAllAccess, &key),
              kErrorSuccess);
    platform.registry.DeleteValue(key, "ProductCtr");
    platform.registry.CloseKey(key);
  }
}

TEST(CleanUpProductTest, OtherProductsStayingMeansTheProductCounterGoesDownByOne) {
  for (std::uint32_t count : {2u, 3u, 100u}) {
    TestPlatform platform;
    platform.LoadFixture("family_minimal.reg");
    SetProductCounter(platform, count);
    platform.Run(kCommand);
    EXPECT_EQ(DwordValue(platform.registry, kHkeyLocalMachine, Family("Install\\Counters"), "ProductCtr"), count - 1);
    EXPECT_TRUE(KeyExists(platform.registry, kHkeyLocalMachine, Family("Audio")));
    EXPECT_EQ(platform.processes.started.size(), 1u);
  }
}

struct LastProductCase {
  const char* name;
  std::optional<std::uint32_t> productCounter;
  bool wholeTreeDeletion;
};

class FullRemovalTest : public ::testing::TestWithParam<LastProductCase> {};

TEST_P(FullRemovalTest, DeletesTheSevenComponentTreesAndNothingElse) {
  if (GetParam().wholeTreeDeletion) {
    TW_PORTABLE_ONLY();
  }
  TestPlatform platform;
  platform.registry.SetDeletesWholeTree(GetParam().wholeTreeDeletion);
  platform.LoadFixture("family_minimal.reg");
  SetProductCounter(platform, GetParam().productCounter);
  platform.Run(kCommand);
  for (const char* component : kComponents) {
    EXPECT_FALSE(KeyExists(platform.registry, kHkeyLocalMachine, Family(component))) << component;
  }
  // The family key itself and the company's other keys stay.
  EXPECT_TRUE(KeyExists(platform.registry, kHkeyLocalMachine, "SOFTWARE\\Corvane\\Talkwise"));
  EXPECT_EQ(TextValue(platform.registry, kHkeyLocalMachine, "SOFTWARE\\Corvane\\Other", "Keep"), "yes");
  EXPECT_EQ(TextValue(platform.registry, kHkeyLocalMachine, "SOFTWARE\\Corvane\\TalkwiseExtra", "Keep"), "yes");
  ASSERT_EQ(platform.processes.started.size(), 1u);
  EXPECT_EQ(platform.processes.started[0].commandLine, "C:\\u.exe -y log");
  EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    LastProduct, FullRemovalTest,
    ::testing::Values(LastProductCase{"CounterOne", 1u, false}, LastProductCase{"CounterZero", 0u, false},
                      LastProductCase{"CounterMissing", std::nullopt, false},
                      LastProductCase{"CounterUnreadable", 0xffffffffu, false},
                      LastProductCase{"CounterOneWholeTreeDeletion", 1u, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CleanUpProductTest, AComponentThatCannotBeDeletedDoesNotStopTheOthers) {
  TW_PORTABLE_ONLY();
  TestPlatform platform;
  platform.LoadFixture("family_minimal.reg");
  SetProductCounter(platform, 1u);
  platform.registry.Protect(kHkeyLocalMachine, Family("Dictation\\Languages\\EN_US\\Deeper"));
  platform.Run(kCommand);
  // A key that cannot be opened for deleting keeps its subtree and its ancestors.
  EXPECT_TRUE(KeyExists(platform.registry, kHkeyLocalMachine, Family("Dictation\\Languages\\EN_US\\Deeper\\Deepest")));
  for (const char* component : {"Control", "Audio", "Engine", "Install"}) {
    EXPECT_FALSE(KeyExists(platform.registry, kHkeyLocalMachine, Family(component))) << component;
  }
  EXPECT_EQ(platform.processes.started.size(), 1u);
}

}  // namespace
}  // namespace tw::test
