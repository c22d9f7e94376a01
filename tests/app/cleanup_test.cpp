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

// The full removal needs ProductCtr and the registrations to agree: a
// "<product>Ctr" left in any language key but the removal's own keeps the
// family, and ProductCtr, already too low for it, is kept as it is.
struct DecisionCase {
  const char* name;
  std::uint32_t productCounter;
  const char* registrations;  // .reg lines below Install\Languages, besides ProdTWC's own for EN_US
  bool full;
  const char* line;
};

const DecisionCase kDecisionCases[] = {
    {"another product for another language", 1, "[DE_DE]\n\"ProdTWDCtr\"=dword:00000001\n", false,
     "decision: shared release: ProdTWD stays registered for DE_DE (ProductCtr 1 -> 1, kept: too low for the "
     "registrations)"},
    {"the same product for another language", 1, "[DE_DE]\n\"ProdTWCCtr\"=dword:00000001\n", false,
     "decision: shared release: ProdTWC stays registered for DE_DE (ProductCtr 1 -> 1, kept"},
    {"the removal's own, spelled in other case", 1, "[en_us]\n\"prodtwcctr\"=dword:00000001\n", true,
     "decision: full removal: no other product is registered (ProductCtr 1 -> deleted)"},
    {"the removal's own, installed twice", 1, "[EN_US]\n\"ProdTWCCtr\"=dword:00000002\n", false,
     "decision: shared release: ProdTWC stays registered for EN_US (ProductCtr 1 -> 1, kept"},
    {"two products in two languages", 0,
     "[EN_US]\n\"ProdTWDLiteCtr\"=dword:00000001\n[JA_JP]\n\"ProdRunCtr\"=dword:00000001\n"
     "\"ProdTWDLiteCtr\"=dword:00000001\n",
     false,
     "decision: shared release: ProdTWDLite stays registered for EN_US, JA_JP; ProdRun for JA_JP (ProductCtr 0 -> 0, "
     "kept"},
    {"no registration, but the counter counts others", 2, "", false,
     "decision: shared release: no other product is registered, but ProductCtr counts others (ProductCtr 2 -> 1)"},
    {"another registration, the counter agreeing", 3, "[EN_US]\n\"ProdTWDLiteCtr\"=dword:00000001\n", false,
     "decision: shared release: ProdTWDLite stays registered for EN_US (ProductCtr 3 -> 2)"},
};

TEST(CleanUpProductTest, TheFullRemovalNeedsTheRegistrationsAgreement) {
  for (const DecisionCase& c : kDecisionCases) {
    SCOPED_TRACE(c.name);
    for (const char* switches : {"/quiet /log:C:\\run.log ", "/preview "}) {
      TestPlatform platform;
      platform.LoadFixture("family_minimal.reg");
      SetProductCounter(platform, c.productCounter);
      std::string registrations = std::string("[EN_US]\n\"ProdTWCCtr\"=dword:00000001\n") + c.registrations;
      for (std::size_t at = 0; (at = registrations.find('[', at)) != std::string::npos; ++at) {
        registrations.insert(at + 1, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Talkwise\\Install\\Languages\\");
      }
      platform.LoadRegText("REGEDIT4\n" + registrations);
      platform.WriteFile("C:\\run.log");
      EXPECT_EQ(platform.RunProgram(switches + std::string(kCommand)), 0);
      const std::string log = switches[1] == 'p' ? platform.standardOutput.str() : platform.ReadFile("C:\\run.log");
      EXPECT_NE(log.find(c.line), std::string::npos) << log;
      if (switches[1] == 'p') continue;  // the preview changes nothing
      EXPECT_EQ(KeyExists(platform.registry, kHkeyLocalMachine, Family("Control")), !c.full);
      EXPECT_EQ(DwordValue(platform.registry, kHkeyLocalMachine, Family("Install\\Counters"), "ProductCtr"),
                c.full                       ? std::nullopt
                : c.productCounter > 1       ? std::optional<std::uint32_t>(c.productCounter - 1)
                                             : std::optional<std::uint32_t>(c.productCounter));
    }
  }
}

// The bundled sample once had ProductCtr 2 for three installs: removing
// ProdTWC and then ProdTWDLite for ZH_CN took the whole family from under
// ProdTWC's EN_US install, whose own removal then ended 1605.
TEST(CleanUpProductTest, AProductCounterTooLowLeavesTheProductThatStays) {
  TestPlatform platform;
  platform.LoadFixture("inconsistent_product_counter.reg");
  EXPECT_EQ(platform.RunProgram("/quiet ProdTWC C ZH_CN C:\\u.exe log"), 0);
  EXPECT_EQ(platform.RunProgram("/quiet ProdTWDLite D ZH_CN C:\\u.exe log"), 0);
  const std::string english = Family("Install\\Languages\\EN_US");
  EXPECT_EQ(DwordValue(platform.registry, kHkeyLocalMachine, english, "ProdTWCCtr"), 1u);
  EXPECT_EQ(TextValue(platform.registry, kHkeyLocalMachine, english, "ProdTWCFolder"), "Corvane Talkwise English");
  EXPECT_EQ(DwordValue(platform.registry, kHkeyLocalMachine, Family("Control\\Languages\\EN_US"), "UsageCtr"), 1u);
  EXPECT_EQ(TextValue(platform.registry, kHkeyLocalMachine, Family("Control\\Version"), "Release"), "3.0.2.0");
  EXPECT_EQ(DwordValue(platform.registry, kHkeyLocalMachine, Family("Engine\\Languages\\EN_US"), "NavDataCtr"), 1u);
  // Its own removal finds it and, the last, removes the family.
  EXPECT_EQ(platform.RunProgram("/quiet ProdTWC C EN_US C:\\u.exe log"), 0);
  for (const char* component : kComponents) {
    EXPECT_FALSE(KeyExists(platform.registry, kHkeyLocalMachine, Family(component))) << component;
  }
  EXPECT_EQ(TextValue(platform.registry, kHkeyLocalMachine, "SOFTWARE\\Corvane\\Other", "Keep"), "yes");
}

}  // namespace
}  // namespace tw::test
