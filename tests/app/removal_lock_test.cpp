// One removal at a time: a run that finds the machine's removal lock held by
// another process waits for it, and gives up with 1618 having changed and
// started nothing; a lock its owner left behind in dying is taken, and that
// owner's removal finished.
#include <gtest/gtest.h>

#include <functional>

#include "app/message_ids.h"
#include "app/message_texts.h"
#include "tests/support/fault_injection.h"
#include "tests/support/registry_probe.h"
#include "tests/support/test_platform.h"

namespace tw::test {
namespace {

constexpr const char* kOurs = "ProdTWDLite D en_us C:\\Uninst\\uninst.exe C:\\Uninst\\lite.log";
constexpr const char* kTheirs = "ProdTWC C en_us C:\\Uninst\\uninst.exe C:\\Uninst\\twc.log";
constexpr const char* kLog = "/quiet /log:C:\\run.log ";

// The other process's removal of ProdTWC, dead at call killAt of its run
// (after its first records): it leaves its entry running. Holding says
// whether the process still holds the lock (hung) or is gone (abandoned).
void OtherRemovalKilled(TestPlatform& platform, PortableRemovalLock& other, bool holding) {
  FaultSchedule schedule(60, kErrorAccessDenied, true);
  FaultyRegistry registry(platform.registry, schedule);
  UninstallApp(platform.View().With(registry).With(other), kTheirs, TestPlatform::kInstance).RunUninstall();
  // Killed, it never gave the lock back.
  ASSERT_NE(other.Take(0), RemovalLock::Taken::kBusy);
  if (!holding) other.Abandon();
}

struct LockCase {
  const char* name;
  std::function<void(TestPlatform&, PortableRemovalLock& other)> plant;
  int exitCode;
  const char* inLog;
};

const LockCase kLockCases[] = {
    {"held by another removal for the whole wait",
     [](TestPlatform& platform, PortableRemovalLock& other) { OtherRemovalKilled(platform, other, true); },
     1618, "waiting: another removal of the family is running; up to 60 s\r\n"
           "lock: another removal is still running; nothing changed\r\n"
           "message: " TEXT_REMOVAL_RUNNING " -> OK (quiet, not shown)\r\n"
           "summary: another removal running, 0 changes, 0 failures\r\nexit code: 1618"},
    {"given back during the wait",
     [](TestPlatform& platform, PortableRemovalLock& other) {
       ASSERT_EQ(other.Take(0), RemovalLock::Taken::kYes);
       platform.lockMachine->whileWaiting = [&other](std::uint32_t wait) {
         EXPECT_EQ(wait, 60000u);
         other.Give();
       };
     },
     0, "waiting: another removal of the family is running; up to 60 s\r\ndecision: shared release"},
    {"its name made first by an ordinary user",
     [](TestPlatform& platform, PortableRemovalLock&) { platform.lockMachine->squatted = true; }, 1618,
     "lock: refused: the removal lock cannot be had safely"},
};

TEST(RemovalLockTest, ASecondRemovalWaitsAndGivesUpWithNothingChanged) {
  for (const LockCase& c : kLockCases) {
    SCOPED_TRACE(c.name);
    TestPlatform platform;
    platform.LoadFixture("typical_run.reg");
    PortableRemovalLock other(platform.lockMachine);
    c.plant(platform, other);
    const std::string before = platform.Snapshot();
    const std::size_t started = platform.processes.started.size();
    platform.WriteFile("C:\\run.log");
    EXPECT_EQ(platform.RunProgram(kLog + std::string(kOurs)), c.exitCode);
    const std::string log = platform.ReadFile("C:\\run.log");
    EXPECT_NE(log.find(c.inLog), std::string::npos) << log;
    if (c.exitCode == 1618) {
      EXPECT_EQ(platform.Snapshot(), before) << "the other's entry is finished by its own run only";
      EXPECT_EQ(platform.processes.started.size(), started);
    }
    if (!other.Held() && !platform.lockMachine->squatted) {
      EXPECT_EQ(PortableRemovalLock(platform.lockMachine).Take(0), RemovalLock::Taken::kYes) << "given back";
    }
  }
}

// Without switches nobody reads a log: a box in the family's language says it.
TEST(RemovalLockTest, WithoutSwitchesABoxSaysAnotherRemovalIsRunning) {
  TestPlatform platform;
  platform.LoadFixture("typical_run.reg");
  PortableRemovalLock other(platform.lockMachine);
  ASSERT_EQ(other.Take(0), RemovalLock::Taken::kYes);
  const std::string before = platform.Snapshot();
  EXPECT_EQ(platform.RunProgram(kOurs), 0);
  ASSERT_EQ(platform.messages.shown.size(), 2u);  // the confirmation, then this
  EXPECT_EQ(platform.messages.shown[1].textId, static_cast<std::uint32_t>(IDS_REMOVAL_RUNNING));
  EXPECT_EQ(platform.messages.shown[1].text, TEXT_REMOVAL_RUNNING);
  EXPECT_EQ(platform.Snapshot(), before);
  EXPECT_TRUE(platform.processes.started.empty());
}

// A removal whose process died left its lock abandoned and its entry
// running: the next removal takes the lock, finishes that removal (without
// its uninstaller) and then does its own.
TEST(RemovalLockTest, AnAbandonedLockIsTakenAndItsOwnersRemovalFinished) {
  TestPlatform platform;
  platform.LoadFixture("typical_run.reg");
  PortableRemovalLock other(platform.lockMachine);
  OtherRemovalKilled(platform, other, false);
  TestPlatform inOrder;
  inOrder.LoadFixture("typical_run.reg");
  inOrder.Run(kTheirs);
  inOrder.Run(kOurs);

  platform.WriteFile("C:\\run.log");
  EXPECT_EQ(platform.RunProgram(kLog + std::string(kOurs)), 0);
  const std::string log = platform.ReadFile("C:\\run.log");
  EXPECT_NE(log.find("lock: taken over from a removal that ended without giving it back"), std::string::npos) << log;
  EXPECT_FALSE(DwordValue(platform.registry, kHkeyLocalMachine, Family("Install\\Languages\\EN_US"), "ProdTWCCtr"));
  EXPECT_EQ(DwordValue(platform.registry, kHkeyLocalMachine, Family("Control"), "UsageCtr"),
            DwordValue(inOrder.registry, kHkeyLocalMachine, Family("Control"), "UsageCtr"));
  EXPECT_EQ(DwordValue(platform.registry, kHkeyLocalMachine, Family("Install\\Counters"), "ProductCtr"),
            DwordValue(inOrder.registry, kHkeyLocalMachine, Family("Install\\Counters"), "ProductCtr"));
  EXPECT_EQ(other.Take(0), RemovalLock::Taken::kYes) << "given back at the run's end";
}

// A preview waits for a removal under way but never holds the lock while it
// reads: a real removal does not wait for a report.
TEST(RemovalLockTest, APreviewWaitsButNeverHoldsTheLock) {
  TestPlatform platform;
  platform.LoadFixture("typical_run.reg");
  PortableRemovalLock other(platform.lockMachine);
  ASSERT_EQ(other.Take(0), RemovalLock::Taken::kYes);
  EXPECT_EQ(platform.RunProgram("/preview " + std::string(kOurs)), 1618);
  other.Give();

  bool heldDuringTheRemoval = true;
  FaultSchedule counting;
  struct Probe : FaultyRegistry {
    Probe(Registry& inner, FaultSchedule& schedule, std::function<void()> each)
        : FaultyRegistry(inner, schedule), each_(std::move(each)) {}
    Status QueryValue(RegKey key, const char* name, ValueType* type, std::uint8_t* data,
                      std::uint32_t* size) override {
      each_();
      return FaultyRegistry::QueryValue(key, name, type, data, size);
    }
    std::function<void()> each_;
  } probe(platform.registry, counting, [&] {
    if (PortableRemovalLock(platform.lockMachine).Take(0) == RemovalLock::Taken::kBusy) return;
    heldDuringTheRemoval = false;
  });
  const std::string before = platform.Snapshot();
  EXPECT_EQ(platform.RunProgram("/preview " + std::string(kOurs), probe), 0);
  EXPECT_FALSE(heldDuringTheRemoval);
  EXPECT_EQ(platform.Snapshot(), before);
}

}  // namespace
}  // namespace tw::test
