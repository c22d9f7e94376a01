// Every registry and file call of a run, failed in turn: the run never
// crashes, still starts the real uninstaller, leaks no handle and changes
// nothing outside what it may change.
#include <gtest/gtest.h>

#include "tests/support/fault_injection.h"
#include "tests/support/registry_probe.h"
#include "tests/support/scope_check.h"
#include "tests/support/test_platform.h"

namespace tw::test {
namespace {

constexpr const char* kPrograms = "C:\\users\\Me\\Start Menu\\Programs";
constexpr const char* kFamilyFolders[] = {"Talkwise", "Talkwise Deutsch"};

// The files the family's setups and their neighbours leave on disk.
constexpr const char* kInstalledFiles[] = {
    "C:\\users\\Me\\Start Menu\\Programs\\Talkwise\\Begin Here.lnk",
    "C:\\users\\Me\\Start Menu\\Programs\\Talkwise\\General Reference.lnk",
    "C:\\users\\Me\\Start Menu\\Programs\\Talkwise\\Dictation.lnk",
    "C:\\users\\Me\\Start Menu\\Programs\\Talkwise\\Voice Training.lnk",
    "C:\\users\\Me\\Start Menu\\Programs\\Talkwise\\Commands.lnk",
    "C:\\users\\Me\\Start Menu\\Programs\\Talkwise\\Extras\\Readme.txt",
    "C:\\users\\Me\\Start Menu\\Programs\\Talkwise Deutsch\\Diktat.lnk",
    "C:\\users\\Me\\Start Menu\\Programs\\Talkwise Deutsch\\Hilfe.lnk",
    "C:\\users\\Me\\Start Menu\\Programs\\Accessories\\Notepad.lnk",
    "C:\\users\\Me\\Start Menu\\Programs\\Begin Here.lnk",
    "C:\\users\\Me\\Documents\\letter.txt",
    "C:\\Program Files\\Talkwise\\Help\\twc\\twcus.hlp",
    "C:\\Program Files\\Talkwise\\Help\\twc\\refbookus.hlp",
    "C:\\Program Files\\Talkwise\\Help\\twc\\twcus.cnt",
    "C:\\Program Files\\Talkwise\\Help\\twlite\\twlitus.hlp",
    "C:\\Program Files\\Talkwise\\Help\\twlite\\refbookus.hlp",
    "C:\\Program Files\\Talkwise\\Help\\twlite\\twlitus.cnt",
    "C:\\Program Files\\Talkwise\\Help\\diktatde.hlp",
    "C:\\Program Files\\Talkwise\\Bin\\speakfit.exe",
};

struct RunCase {
  const char* name;
  const char* commandLine;
  const char* languageCode;  // as the program upper-cased it
  std::uint32_t productCtr;  // 1: the family's last product
  const char* product;
  // A removal killed at its 60th call before the run: the run resumes it,
  // spelled otherwise; damaged, its entry's choice is cut short first.
  const char* killedFirst = nullptr;
  bool damaged = false;
};

constexpr const char* kLiteRemoval = "ProdTWDLite X en_us C:\\Uninst\\uninst.exe C:\\Uninst\\lite.log";

constexpr RunCase kRunCases[] = {
    {"SharedRelease", kLiteRemoval, "EN_US", 3, "ProdTWDLite"},
    {"SharedReleaseOfControl", "ProdTWC C en_us C:\\Uninst\\uninst.exe C:\\Uninst\\twc.log", "EN_US", 2, "ProdTWC"},
    {"FullRemoval", "ProdTWD D de_de C:\\Uninst\\uninst.exe C:\\Uninst\\twd.log", "DE_DE", 1, "ProdTWD"},
    {"SharedReleaseResumedSpelledOtherwise", "prodtwdlite x EN_US C:\\Uninst\\uninst.exe C:\\Uninst\\lite.log", "EN_US",
     3, "ProdTWDLite", kLiteRemoval},
    {"SharedReleaseOfADamagedEntry", kLiteRemoval, "EN_US", 3, "ProdTWDLite", kLiteRemoval, true},
};

constexpr Status kFaults[] = {kErrorAccessDenied, kErrorSharingViolation, kErrorLockViolation};

void Install(TestPlatform& platform, const RunCase& run) {
  platform.LoadFixture("family_installed.reg");
  WriteDword(platform.registry, kHkeyLocalMachine, Family("Install\\Counters"), "ProductCtr", run.productCtr);
  if (run.productCtr == 1) MakeLastProduct(platform.registry, run.product, run.languageCode);
  for (const char* file : kInstalledFiles) platform.WriteFile(file, file);
  if (!run.killedFirst) return;
  FaultSchedule kill(60, kErrorAccessDenied, true);
  FaultyRegistry registry(platform.registry, kill);
  FaultyFileSystem files(platform.files, kill);
  UninstallApp(platform.View().With(registry).With(files), run.killedFirst, TestPlatform::kInstance).RunUninstall();
  platform.processes.started.clear();
  const std::string entry = Family("Uninstall\\ProdTWDLite EN_US");
  const auto choice = TextValue(platform.registry, kHkeyLocalMachine, entry, "Choice");
  ASSERT_TRUE(choice && !TextValue(platform.registry, kHkeyLocalMachine, entry, "Released")) << "not left running";
  if (run.damaged) WriteText(platform.registry, kHkeyLocalMachine, entry, "Choice", choice->substr(0, 12));
}

// Runs the program through the decorators; returns the number of calls made.
std::uint64_t RunWithSchedule(TestPlatform& platform, const RunCase& run, FaultSchedule& schedule) {
  FaultyRegistry registry(platform.registry, schedule);
  FaultyFileSystem files(platform.files, schedule);
  UninstallApp app(platform.View().With(registry).With(files), run.commandLine, TestPlatform::kInstance);
  EXPECT_FALSE(app.RunUninstall());
  return schedule.Calls();
}

class FaultInjectionTest : public ::testing::TestWithParam<RunCase> {};

TEST_P(FaultInjectionTest, EveryFailedCallLeavesTheRunSafe) {
  const RunCase& run = GetParam();
  std::uint64_t calls = 0;
  {
    TestPlatform platform;
    Install(platform, run);
    FaultSchedule counting;
    calls = RunWithSchedule(platform, run, counting);
  }
  ASSERT_GT(calls, 0u);
  for (std::uint64_t k = 1; k <= calls; ++k) {
    const Status fault = kFaults[k % std::size(kFaults)];
    SCOPED_TRACE("call " + std::to_string(k) + " of " + std::to_string(calls) + " fails with error " +
                 std::to_string(fault));
    TestPlatform platform;
    Install(platform, run);
    std::vector<std::filesystem::path> familyFolders;
    for (const char* folder : kFamilyFolders) {
      familyFolders.push_back(platform.Host(std::string(kPrograms) + "\\" + folder));
    }
    const RegistryImage registryBefore = CaptureRegistry(platform.registry);
    const DiskImage diskBefore = CaptureDisk(platform.drives.Path(), familyFolders);

    FaultSchedule schedule(k, fault);
    RunWithSchedule(platform, run, schedule);

    EXPECT_TRUE(schedule.Fired());
    ASSERT_EQ(platform.processes.started.size(), 1u);
    EXPECT_NE(platform.processes.started[0].commandLine.find(" -y "), std::string::npos);
    EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
    EXPECT_EQ(platform.files.OpenSearchCount(), 0u);
    for (const std::string& change :
         RegistryChangesOutsideScope(registryBefore, CaptureRegistry(platform.registry), run.languageCode)) {
      ADD_FAILURE() << change;
    }
    for (const std::string& change : DiskChanges(diskBefore, CaptureDisk(platform.drives.Path(), familyFolders))) {
      ADD_FAILURE() << change;
    }
    // Progress unknown: whatever fails, nothing is released.
    if (run.damaged) {
      EXPECT_TRUE(CaptureRegistry(platform.registry) == registryBefore) << "released after all";
    }
    if (HasFailure()) break;  // one failing call is enough to read
  }
}

INSTANTIATE_TEST_SUITE_P(FamilyInstalled, FaultInjectionTest, ::testing::ValuesIn(kRunCases),
                         [](const ::testing::TestParamInfo<RunCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tw::test
