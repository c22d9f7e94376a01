// The switches before the product code: how they are read, the exit codes of
// a run with them, quiet runs and the change log.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <regex>

#include "app/exit_codes.h"
#include "app/message_ids.h"
#include "app/unattended_options.h"
#include "platform/journal/journal_registry.h"
#include "platform/overlay/overlay_registry.h"
#include "platform/memory/memory_registry.h"
#include "tests/support/portable/ascii_code_page.h"
#include "tests/support/portable/settable_code_page.h"
#include "tests/safety/family_model.h"
#include "tests/support/fault_injection.h"
#include "tests/support/held_open.h"
#include "tests/support/journal_lines.h"
#include "tests/support/registry_probe.h"
#include "tests/support/test_platform.h"
#include "tests/support/typical_install.h"

namespace tw::test {
namespace {

struct SwitchCase {
  const char* commandLine;
  bool quiet;
  bool wait;
  bool usage;
  const char* logPath;        // null: no log
  const char* unknownSwitch;  // null: every switch understood
  const char* removal;
};

class SwitchParserTest : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(SwitchParserTest, ReadsTheSwitchesAndLeavesTheRemovalsCommandLine) {
  const SwitchCase& expected = GetParam();
  const UnattendedOptions options = ParseUnattendedOptions(expected.commandLine);
  EXPECT_EQ(options.quiet, expected.quiet);
  EXPECT_EQ(options.wait, expected.wait);
  EXPECT_EQ(options.usage, expected.usage);
  EXPECT_EQ(options.logPath.value_or("(none)"), expected.logPath ? expected.logPath : "(none)");
  EXPECT_EQ(options.unknownSwitch.value_or("(none)"), expected.unknownSwitch ? expected.unknownSwitch : "(none)");
  EXPECT_EQ(options.removal, expected.removal);
  const std::string line = expected.commandLine;
  const std::size_t first = line.find_first_not_of(' ');
  EXPECT_EQ(options.anySwitch, first != std::string::npos && (line.compare(first, 1, "/") == 0 ||
                                                              line.compare(first, 2, "\"/") == 0));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SwitchParserTest,
    ::testing::Values(
        SwitchCase{"ProdTWC C en_us C:\\u.exe a.log", false, false, false, nullptr, nullptr,
                   "ProdTWC C en_us C:\\u.exe a.log"},
        SwitchCase{"/quiet /wait /log:C:\\tw\\run.log ProdTWC C en_us C:\\u.exe  a.log", true, true, false,
                   "C:\\tw\\run.log", nullptr, "ProdTWC C en_us C:\\u.exe  a.log"},
        SwitchCase{"  /WAIT   /Quiet  ProdTWC C", true, true, false, nullptr, nullptr, "ProdTWC C"},
        SwitchCase{"/LOG:\"C:\\users\\me\\tw log.txt\" /quiet ProdTWC", true, false, false,
                   "C:\\users\\me\\tw log.txt", nullptr, "ProdTWC"},
        SwitchCase{"/?", false, false, true, nullptr, nullptr, ""},
        SwitchCase{"ProdTWC C en_us C:\\u.exe /quiet /log:x", false, false, false, nullptr, nullptr,
                   "ProdTWC C en_us C:\\u.exe /quiet /log:x"},
        SwitchCase{"/quiet /quite ProdTWC", true, false, false, nullptr, "/quite", "ProdTWC"},
        SwitchCase{"/log: ProdTWC", false, false, false, nullptr, "/log:", "ProdTWC"},
        SwitchCase{"/log:\"\" ProdTWC", false, false, false, nullptr, "/log:\"\"", "ProdTWC"},
        SwitchCase{"/log:\"C:\\a b ProdTWC", false, false, false, nullptr, "/log:\"C:\\a b ProdTWC", ""},
        SwitchCase{"/log:\"C:\\a\"b ProdTWC", false, false, false, "C:\\ab", nullptr, "ProdTWC"},
        // Quoted whole, as PowerShell and Ansible pass an argument with a blank.
        SwitchCase{"\"/log:C:\\Windows\\Logs\\a b.log\" /quiet ProdTWC C", true, false, false,
                   "C:\\Windows\\Logs\\a b.log", nullptr, "ProdTWC C"},
        SwitchCase{"\"/QN\" \"/norestart\" \"ProdTWC\" C", true, false, false, nullptr, nullptr, "\"ProdTWC\" C"},
        SwitchCase{"\"/log:C:\\a b.log ProdTWC C", false, false, false, nullptr, "\"/log:C:\\a b.log ProdTWC C", ""},
        // Every switch is read whatever the order: /quiet after one not understood still holds.
        SwitchCase{"/frobnicate /wait /qn /norestart ProdTWC", true, true, false, nullptr, "/frobnicate", "ProdTWC"},
        SwitchCase{"/norestart /x /y ProdTWC", false, false, false, nullptr, "/x", "ProdTWC"},
        SwitchCase{"/quiet\tProdTWC", false, false, false, nullptr, "/quiet\tProdTWC", ""},
        SwitchCase{"/PREVIEW ProdTWC C", false, false, false, nullptr, nullptr, "ProdTWC C"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

constexpr const char* kRemoval = "ProdTWDLite D en_us C:\\Uninst\\uninst.exe C:\\Uninst\\install.log";

class UnattendedRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform.LoadFixture("family_minimal.reg");
    platform.LoadRegText("REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Talkwise\\Install\\Languages\\EN_US]\n"
                         "\"ProdTWDLiteCtr\"=dword:00000002\n");
  }

  // Runs with the switches; whether the registry changed.
  bool RunChanges(const std::string& switches, int* exitCode) {
    const std::string before = platform.Snapshot();
    *exitCode = platform.RunProgram(switches + " " + kRemoval);
    return platform.Snapshot() != before;
  }

  TestPlatform platform;
};

TEST_F(UnattendedRunTest, QuietRemovesWithoutAnyBoxAndEndsWithZero) {
  int exitCode = -1;
  EXPECT_TRUE(RunChanges("/quiet", &exitCode));
  EXPECT_EQ(exitCode, kExitDone);
  EXPECT_TRUE(platform.messages.shown.empty());
  EXPECT_FALSE(platform.messages.threeDimensional);
  ASSERT_EQ(platform.processes.started.size(), 1u);
  EXPECT_FALSE(platform.processes.started[0].waitedFor);
  EXPECT_EQ(platform.processes.started[0].commandLine, "C:\\Uninst\\uninst.exe -y C:\\Uninst\\install.log");
}

TEST_F(UnattendedRunTest, WaitEndsWithTheUninstallersExitCode) {
  platform.processes.exitCode = 3010;
  int exitCode = -1;
  EXPECT_TRUE(RunChanges("/wait", &exitCode));
  EXPECT_EQ(exitCode, 3010);
  ASSERT_EQ(platform.processes.started.size(), 1u);
  EXPECT_TRUE(platform.processes.started[0].waitedFor);
  EXPECT_EQ(platform.processes.started[0].showCommand, kSwShow);
  EXPECT_EQ(platform.messages.shown.size(), 1u);  // the confirmation, not quiet
}

TEST_F(UnattendedRunTest, EachFailureHasItsExitCodeAndTheEarlyOnesChangeNothing) {
  int exitCode = -1;
  platform.messages.answers = {kIdNo};
  EXPECT_FALSE(RunChanges("/wait", &exitCode));
  EXPECT_EQ(exitCode, kExitDeclined);

  EXPECT_FALSE(RunChanges("/quiet /wait /nothing", &exitCode));
  EXPECT_EQ(exitCode, kExitBadCommandLine);
  EXPECT_FALSE(RunChanges("/unknown", &exitCode));
  EXPECT_EQ(exitCode, kExitBadCommandLine);
  EXPECT_EQ(platform.messages.shown.back().text, "无法识别的选项: /unknown");

  const std::string before = platform.Snapshot();
  EXPECT_EQ(platform.RunProgram("/quiet ProdTWDLite D en_us C:\\u.exe"), kExitBadCommandLine);
  EXPECT_EQ(platform.Snapshot(), before);

  EXPECT_FALSE(RunChanges("/log:C:\\missing\\folder\\run.log", &exitCode));
  EXPECT_EQ(exitCode, kExitLogUnwritable);
  EXPECT_EQ(platform.messages.shown.back().text, "无法写入日志文件: C:\\missing\\folder\\run.log");
  EXPECT_TRUE(platform.processes.started.empty());

  // A product, or a language, with no install recorded: refused under any switch.
  for (const char* removal : {"ProdXYZ D en_us C:\\u.exe a.log", "ProdTWDLite D de_de C:\\u.exe a.log"}) {
    const std::string registry = platform.Snapshot();
    EXPECT_EQ(platform.RunProgram(std::string("/wait ") + removal), kExitUnknownProduct) << removal;
    EXPECT_EQ(platform.Snapshot(), registry);
    EXPECT_TRUE(platform.processes.started.empty());
    EXPECT_EQ(platform.messages.shown.back().textId, static_cast<std::uint32_t>(IDS_NOT_REGISTERED));
  }

  platform.processes.result = 2;
  EXPECT_TRUE(RunChanges("/quiet /wait", &exitCode));
  EXPECT_EQ(exitCode, kExitFailed);
}

// A removal run again once it finished (its uninstaller failed, a tool
// retried) releases nothing, starts the uninstaller again and says so; a
// product installed twice for the language is released by two removals.
TEST_F(UnattendedRunTest, ARepeatReleasesNothingAndStartsTheUninstallerAgain) {
  int exitCode = -1;
  EXPECT_TRUE(RunChanges("/quiet", &exitCode));
  EXPECT_TRUE(RunChanges("/quiet", &exitCode));  // ProdTWDLiteCtr was 2: a second install
  EXPECT_FALSE(RunChanges("/quiet /wait /log:C:\\run.log", &exitCode));
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(platform.processes.started.size(), 3u);
  EXPECT_NE(platform.ReadFile("C:\\run.log").find("\r\nsummary: already released at 20"), std::string::npos);
  platform.processes.started.clear();
  EXPECT_FALSE(RunChanges("", &exitCode));  // without switches the same
  EXPECT_EQ(platform.processes.started.size(), 1u);
}

// A switch not understood, wherever it stands: nothing changes, 1639, no box
// when /quiet comes anywhere among the switches (or in a preview), and the
// log and the preview's report name the switch.
TEST_F(UnattendedRunTest, AnUnknownSwitchIsRefusedInTheLogAndNeverWaitsOnABoxWhenQuiet) {
  struct Case {
    const char* switches;
    bool boxShown;
    const char* note;
  };
  const Case cases[] = {
      {"/frobnicate /quiet /log:C:\\logs\\run.log", false, " -> OK (quiet, not shown)"},
      {"/quiet /log:C:\\logs\\run.log /frobnicate", false, " -> OK (quiet, not shown)"},
      {"/norestart \"/log:C:\\logs\\run.log\" /frobnicate /qn", false, " -> OK (quiet, not shown)"},
      {"/wait /frobnicate /log:C:\\logs\\run.log", true, " -> OK\r\n"},
      {"/frobnicate /preview /log:C:\\logs\\run.log", false, " -> OK (preview, not shown)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.switches);
    platform.messages.shown.clear();
    platform.standardOutput.str("");
    platform.WriteFile("C:\\logs\\run.log");
    int exitCode = -1;
    EXPECT_FALSE(RunChanges(c.switches, &exitCode));
    EXPECT_EQ(exitCode, kExitBadCommandLine);
    EXPECT_EQ(platform.messages.shown.size(), c.boxShown ? 1u : 0u);
    EXPECT_TRUE(platform.processes.started.empty());
    const std::string log = platform.ReadFile("C:\\logs\\run.log");
    EXPECT_NE(log.find("\r\nswitches: " + std::string(c.switches) + "\r\nmessage: 无法识别的选项: /frobnicate" + c.note),
              std::string::npos) << log;
    EXPECT_NE(log.find("\r\nsummary: bad command line, 0 changes, 0 failures\r\nexit code: 1639\r\n"),
              std::string::npos) << log;
    if (std::string(c.switches).find("/preview") != std::string::npos) {
      EXPECT_NE(platform.standardOutput.str().find("\nmessage: 无法识别的选项: /frobnicate"), std::string::npos);
    }
  }
}

// /qn is /quiet and /norestart changes nothing: the same removal, the same
// log but for the switches named in it.
TEST(QuietAliasTest, QnAndNorestartRunTheQuietRemoval) {
  TestPlatform qn, quiet;
  for (TestPlatform* run : {&qn, &quiet}) {
    run->LoadFixture("typical_run.reg");
    run->WriteFile("C:\\logs\\run.log");
  }
  EXPECT_EQ(qn.RunProgram("/qn /norestart /log:C:\\logs\\run.log " + std::string(kRemoval)), kExitDone);
  EXPECT_EQ(quiet.RunProgram("/quiet /log:C:\\logs\\run.log " + std::string(kRemoval)), kExitDone);
  EXPECT_EQ(qn.Snapshot(), quiet.Snapshot());
  EXPECT_TRUE(qn.messages.shown.empty());
  EXPECT_EQ(qn.processes.started.size(), 1u);
  const std::vector<std::string> changes = ChangeLines(qn.ReadFile("C:\\logs\\run.log"));
  EXPECT_GT(changes.size(), 10u);
  EXPECT_EQ(changes, ChangeLines(quiet.ReadFile("C:\\logs\\run.log")));
}

// Nobody can answer a box (session 0, a window station that is not visible):
// every run goes as under /quiet, each message's text in the log when there
// is one, and the log says why no box was shown. With a desktop and no
// switches the boxes are shown as always (the driver's tests).
TEST_F(UnattendedRunTest, WithoutADesktopNoBoxWaitsAndTheRemovalGoesAhead) {
  platform.messages.desktop = false;
  int exitCode = -1;
  EXPECT_TRUE(RunChanges("", &exitCode));
  EXPECT_EQ(exitCode, kExitDone);
  EXPECT_TRUE(platform.messages.shown.empty());
  ASSERT_EQ(platform.processes.started.size(), 1u);
  EXPECT_FALSE(platform.processes.started[0].waitedFor);

  platform.LoadRegText("REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Talkwise\\Install\\Languages\\EN_US]\n"
                       "\"ProdTWDLiteCtr\"=dword:00000002\n");
  platform.WriteFile("C:\\logs\\run.log");
  EXPECT_TRUE(RunChanges("/wait /log:C:\\logs\\run.log", &exitCode));
  EXPECT_EQ(exitCode, kExitDone);
  EXPECT_TRUE(platform.messages.shown.empty());
  EXPECT_NE(platform.ReadFile("C:\\logs\\run.log").find(
                "\r\nmessage: 确实要从您的计算机中删除此程序吗? -> Yes (no interactive desktop, not shown)\r\n"),
            std::string::npos);

  // What would have been boxes: a missing parameter, an unknown switch, the usage.
  const std::pair<const char*, int> refused[] = {
      {"ProdTWDLite D", kExitDone}, {"/wait /nothing ProdTWDLite", kExitBadCommandLine}, {"/?", kExitDone}};
  for (const auto& [commandLine, expected] : refused) {
    EXPECT_EQ(platform.RunProgram(commandLine), expected) << commandLine;
  }
  EXPECT_TRUE(platform.messages.shown.empty());
  EXPECT_EQ(platform.processes.started.size(), 2u);
}

TEST_F(UnattendedRunTest, UsageIsShownAndNothingRuns) {
  EXPECT_EQ(platform.RunProgram("/?"), kExitDone);
  ASSERT_EQ(platform.messages.shown.size(), 1u);
  EXPECT_EQ(platform.messages.shown[0].textId, static_cast<std::uint32_t>(IDS_USAGE));
  EXPECT_EQ(platform.messages.shown[0].text,
            "用法: twuninst.exe [/quiet|/qn] [/norestart] [/wait] [/preview] [/allusers] [/log:文件] <产品代码> <变体> <语言代码> "
            "<卸载程序路径> <卸载程序参数>. /qn 同 /quiet; /norestart 不起作用 (本程序从不重新启动计算机); "
            "/allusers 也处理计算机上每个用户的快捷方式和声音事件 (以 SYSTEM 运行时总是如此)");
  EXPECT_TRUE(platform.processes.started.empty());
}

TEST_F(UnattendedRunTest, LogIsAppendedToAndNeverTruncated) {
  platform.WriteFile("C:\\logs\\run.log", "earlier run\r\n");
  EXPECT_EQ(platform.RunProgram("/quiet /log:C:\\logs\\run.log " + std::string(kRemoval)), kExitDone);
  const std::string log = platform.ReadFile("C:\\logs\\run.log");
  EXPECT_EQ(log.rfind("earlier run\r\n==== twuninst.exe 1.0.0.0, ", 0), 0u) << log;
  EXPECT_NE(log.find("\r\nexit code: 0\r\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("account: SYSTEM"), std::string::npos) << log;

  // Run by a deployment tool as LocalSystem, the log says whose hive it saw.
  platform.user.sid = kLocalSystemSid;
  EXPECT_EQ(platform.RunProgram("/quiet /log:C:\\logs\\run.log " + std::string(kRemoval)), kExitDone);
  const std::string again = platform.ReadFile("C:\\logs\\run.log").substr(log.size());
  EXPECT_NE(again.find("\r\nswitches: /quiet /log:C:\\logs\\run.log\r\naccount: SYSTEM; every user's shortcuts and "
                       "sound events are released where they are (the users visited and passed over follow)\r\n"),
            std::string::npos)
      << again;
}

TEST_F(UnattendedRunTest, PreviewChangesNothingAndReportsToStandardOutputAndTheLog) {
  int exitCode = -1;
  platform.WriteFile("C:\\logs\\earlier.log");
  EXPECT_FALSE(RunChanges("/preview /log:C:\\logs\\preview.log", &exitCode));
  EXPECT_EQ(exitCode, kExitDone);
  EXPECT_TRUE(platform.messages.shown.empty());
  EXPECT_TRUE(platform.processes.started.empty());
  EXPECT_TRUE(platform.engine.calls.empty());
  const std::string report = platform.standardOutput.str();
  std::string logged = platform.ReadFile("C:\\logs\\preview.log");
  for (std::size_t cr; (cr = logged.find('\r')) != std::string::npos;) logged.erase(cr, 1);
  EXPECT_EQ(logged, report);
  EXPECT_NE(report.find("\nswitches: /preview /log:C:\\logs\\preview.log\nmessage: "), std::string::npos) << report;
  EXPECT_NE(report.find(" -> Yes (preview, not shown)\n"), std::string::npos) << report;
  EXPECT_NE(report.find("\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Talkwise\\Install\\Counters]\n"
                        "\"ProductCtr\"=dword:00000001  ; was dword:00000002\n"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("\nuninstaller would be started: C:\\Uninst\\uninst.exe -y C:\\Uninst\\install.log\n"),
            std::string::npos) << report;
  EXPECT_NE(report.find("\nexit code: 0\n"), std::string::npos) << report;

  // Without a log, standard output alone; a bad command line, its exit code.
  platform.standardOutput.str("");
  EXPECT_FALSE(RunChanges("/preview", &exitCode));
  EXPECT_EQ(exitCode, kExitDone);
  EXPECT_EQ(platform.standardOutput.str().rfind("==== twuninst.exe ", 0), 0u);
  // Waiting asked for: still nothing runs, so no exit code is told or taken.
  platform.processes.exitCode = 7;
  platform.standardOutput.str("");
  EXPECT_FALSE(RunChanges("/preview /wait", &exitCode));
  EXPECT_EQ(exitCode, kExitDone);
  EXPECT_TRUE(platform.processes.started.empty());
  EXPECT_NE(platform.standardOutput.str().find("\nuninstaller would be started: "), std::string::npos);
  EXPECT_EQ(platform.standardOutput.str().find("uninstaller ended"), std::string::npos);
  EXPECT_EQ(platform.RunProgram("/preview ProdTWDLite D en_us C:\\u.exe"), kExitBadCommandLine);
  EXPECT_TRUE(platform.messages.shown.empty());
  EXPECT_EQ(platform.RunProgram("/preview /nothing ProdTWDLite"), kExitBadCommandLine);
}

// States of the machine that a preview can only learn by asking it: in each,
// the preview's report is the run's log line for line, and the log shows the
// state was met.
struct MachineState {
  const char* name;
  bool lastProduct;  // the full removal, which empties and removes the program folder
  int exitCode;
  const char* inLog;
  void (*plant)(TestPlatform& platform, std::unique_ptr<HeldOpen>* held);
};

std::string DeepLabelTree() {
  std::string key = "HKEY_CURRENT_USER\\AppEvents\\EventLabels\\Start Dictation US";
  for (int level = 0; level < 70; ++level) key += "\\k";
  return "REGEDIT4\n[" + key + "]\n\"deepest\"=\"70\"\n";
}

const MachineState kMachineStates[] = {
    {"a shortcut with a second name", false, kExitDone, "Talkwise\\Begin Here.lnk (0x80070005)",
     [](TestPlatform& platform, std::unique_ptr<HeldOpen>*) {
       platform.links.refused.insert(std::string(kTalkwiseFolder) + "Begin Here.lnk");
     }},
    {"a read-only shortcut", false, kExitDone, "Talkwise\\Begin Here.lnk (0x80070005)",
     [](TestPlatform& platform, std::unique_ptr<HeldOpen>*) {
       platform.links.readOnly.insert(std::string(kTalkwiseFolder) + "Begin Here.lnk");
     }},
    {"a shortcut held open without delete sharing", true, kExitDone, "failed (error 145): delete folder",
     [](TestPlatform& platform, std::unique_ptr<HeldOpen>* held) {
       *held = std::make_unique<HeldOpen>(platform.Host(std::string(kTalkwiseFolder) + "Dictation.lnk"));
     }},
    // ProdTWDLite the folder's last user: its shortcuts go by name, then the folder whole.
    {"a shortcut whose name differs in the case of a letter outside A-Z", false, kExitDone,
     "file deleted: C:\\Start Menu\\Programs\\Talkwise\\\xC3\x9C" "bersicht.lnk",
     [](TestPlatform& platform, std::unique_ptr<HeldOpen>*) {
       const std::string language = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Talkwise\\Install\\Languages\\EN_US";
       platform.LoadRegText("REGEDIT4\n" + language + "\\ProdTWDLiteObjs]\n\"\xDC" "bersicht\"=\"Dictation\"\n" +
                            language + "\\Folders\\Talkwise]\n\"\xDC" "bersicht\"=dword:00000001\n"
                            "\"Begin Here\"=dword:00000001\n\"General Reference\"=dword:00000001\n\"Control Panel\"=-\n");
       platform.WriteFile(std::string(kTalkwiseFolder) + "\xFC" "bersicht.lnk");
     }},
    {"a label key with a chain of 70 subkeys", false, kExitDone,
     "[-HKEY_CURRENT_USER\\AppEvents\\EventLabels\\Start Dictation US]",
     [](TestPlatform& platform, std::unique_ptr<HeldOpen>*) { platform.LoadRegText(DeepLabelTree()); }},
    {"an engine library that others than the administrators can change", false, kExitDone,
     "refused: engine library C:\\Engine\\spchcfg.cpl: others than Administrators",
     [](TestPlatform& platform, std::unique_ptr<HeldOpen>*) { platform.engine.passedOver = "C:\\Engine\\spchcfg.cpl"; }},
    {"an uninstaller that cannot start", false, kExitFailed, "failed (error 2): start uninstaller",
     [](TestPlatform& platform, std::unique_ptr<HeldOpen>*) { platform.processes.result = 2; }},
};

TEST(PreviewTest, ReportsTheRunsLogLineForLineWhereOnlyTheMachineKnowsTheOutcome) {
  const std::string removal = " ProdTWDLite D en_us C:\\Uninst\\uninst.exe C:\\Uninst\\install.log";
  for (const MachineState& state : kMachineStates) {
    SCOPED_TRACE(state.name);
    TestPlatform platform;
    InstallTypicalRun(platform, state.lastProduct);
    std::unique_ptr<HeldOpen> held;
    state.plant(platform, &held);
    ASSERT_TRUE(held == nullptr || held->Held());
    EXPECT_EQ(platform.RunProgram("/preview" + removal), state.exitCode);
    const std::vector<std::string> preview = ChangeLines(platform.standardOutput.str());
    platform.WriteFile("C:\\run.log");
    EXPECT_EQ(platform.RunProgram("/quiet /log:C:\\run.log" + removal), state.exitCode);
    const std::string log = platform.ReadFile("C:\\run.log");
    EXPECT_NE(log.find(state.inLog), std::string::npos) << log;
    EXPECT_EQ(FirstDifference(preview, ChangeLines(log)), "");
  }
}

// The preview's overlay reads as deep as the machine's trees go; a key that
// cannot be read whole ends the preview with the reason, never with a report
// of less than the run would do.
TEST(PreviewTest, ReadsKeyTreesWholeOrSaysItCannot) {
  TestPlatform platform;
  platform.LoadFixture("typical_run.reg");
  platform.LoadRegText(DeepLabelTree());
  const OverlayRegistry copy(platform.registry, platform.codePage, {{kHkeyCurrentUser, "AppEvents\\EventLabels"}});
  EXPECT_FALSE(copy.Unreadable());
  std::string deepest = "AppEvents\\EventLabels\\Start Dictation US";
  for (int level = 0; level < 70; ++level) deepest += "\\k";
  EXPECT_EQ(TextValue(const_cast<OverlayRegistry&>(copy), kHkeyCurrentUser, deepest, "deepest"), "70");

  // Reads of the machine fail in turn, late ones after the report has
  // lines: the report is the clean one (a failed close changes nothing) or
  // it ends saying the preview cannot be exact, never with a summary.
  const std::string removal = "/preview ProdTWDLite D en_us C:\\Uninst\\uninst.exe x.log";
  FaultSchedule counted;
  FaultyRegistry counting(platform.registry, counted);
  const int cleanExit = platform.RunProgram(removal, counting);
  const auto timeless = [](const std::string& report) {
    // The ledger's time of release comes with its checksum.
    static const std::regex time("\\d{4}-\\d\\d-\\d\\d[T ]\\d\\d:\\d\\d:\\d\\d(Z [0-9a-f]{8})?");
    return std::regex_replace(report, time, "(time)");
  };
  const std::string clean = timeless(platform.standardOutput.str());
  int impossible = 0;
  constexpr std::uint64_t kStride = 7;  // every kind of call, in a second
  for (std::uint64_t failAt = 1; failAt <= counted.Calls(); failAt += kStride) {
    platform.standardOutput.str("");
    FaultSchedule readFails(failAt, kErrorInvalidParameter);
    FaultyRegistry registry(platform.registry, readFails);
    const int exitCode = platform.RunProgram(removal, registry);
    const std::string report = platform.standardOutput.str();
    const std::size_t said = report.rfind("\npreview impossible: the key HKEY_");
    if (said == std::string::npos) {
      EXPECT_EQ(exitCode, cleanExit) << failAt;
      EXPECT_EQ(timeless(report), clean) << failAt;
      continue;
    }
    ++impossible;
    EXPECT_EQ(exitCode, kExitFailed) << failAt;
    EXPECT_EQ(report.find("\nsummary: "), std::string::npos) << report;
    EXPECT_NE(report.find(" cannot be read whole\nexit code: 1603\n", said), std::string::npos) << report;
  }
  EXPECT_GT(impossible, static_cast<int>(counted.Calls() / kStride / 2)) << counted.Calls();
}

// The .reg lines of a log, its comments cut off: replayed on the registry as
// it was before the run, they must give the registry as it is after it.
std::string RegistryLinesOf(const std::string& log) {
  std::string reg = "REGEDIT4\n";
  std::size_t start = 0;
  for (std::size_t end; (end = log.find("\r\n", start)) != std::string::npos; start = end + 2) {
    std::string line = log.substr(start, end - start);
    if (line.empty() || (line[0] != '[' && line[0] != '"' && line[0] != '@')) continue;
    const std::size_t comment = line.find("  ; ");
    if (comment != std::string::npos) line.erase(comment);
    reg += line + "\n";
  }
  return reg;
}

TEST(ChangeLogTest, ReplayingTheLogsRegistryLinesGivesTheRegistryAfterTheRun) {
  for (const char* commandLine : {"ProdTWDLite D en_us C:\\Uninst\\uninst.exe C:\\Uninst\\install.log",
                                  "ProdTWC C en_us C:\\Uninst\\uninst.exe C:\\Uninst\\install.log"}) {
    for (const char* fixture : {"typical_run.reg", "family_installed.reg"}) {
      TestPlatform run;
      run.LoadFixture(fixture);
      run.WriteFile("C:\\logs\\run.log");
      EXPECT_EQ(run.RunProgram(std::string("/quiet /log:C:\\logs\\run.log ") + commandLine), kExitDone);
      const std::string log = run.ReadFile("C:\\logs\\run.log");
      TestPlatform replay;
      replay.LoadFixture(fixture);
      replay.LoadRegText(RegistryLinesOf(log));
      // The ledger is the program's bookkeeping: not in the log, so left out here.
      run.LoadRegText("REGEDIT4\n[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Talkwise\\Uninstall]\n");
      EXPECT_EQ(replay.Snapshot(), run.Snapshot()) << fixture << ": " << commandLine << "\n" << log;
      EXPECT_NE(log.find("\r\nsummary: "), std::string::npos);
    }
  }
}

// The key the composition names as the program's bookkeeping, in any case
// of its ASCII letters, and every key below it: written unread, unlisted and
// uncounted, but a write that fails there is a failure. A key whose name
// only begins the same is the machine's. A write that leaves a value as it
// was (type and data) is listed as unchanged and not counted.
TEST(ChangeLogTest, BookkeepingIsUnlistedAndAWriteThatChangesNothingUncounted) {
  MemoryRegistry memory(AsciiCodePage());
  SettableCodePage codePage;
  LinesLog log;
  Journal journal(&log, codePage);
  FaultSchedule counted;
  FaultyRegistry faulty(memory, counted);
  JournalRegistry registry(faulty, journal, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Family\\Ledger");
  RegKey parent = 0, ledger = 0, record = 0, other = 0;
  ASSERT_EQ(registry.CreateKey(kHkeyLocalMachine, "software\\FAMILY", &parent), kErrorSuccess);
  ASSERT_EQ(registry.CreateKey(parent, "LEDGER", &ledger), kErrorSuccess);
  ASSERT_EQ(registry.CreateKey(ledger, "ProdX A B", &record), kErrorSuccess);
  ASSERT_EQ(registry.CreateKey(parent, "LedgerX", &other), kErrorSuccess);
  const auto set = [&](RegKey on, ValueType type, const std::string& text) {
    const std::uint64_t before = counted.Calls();
    registry.SetValue(on, "v", type, reinterpret_cast<const std::uint8_t*>(text.c_str()),
                      static_cast<std::uint32_t>(text.size() + 1));
    return counted.Calls() - before;
  };
  for (RegKey bookkeeping : {ledger, record}) {
    EXPECT_EQ(set(bookkeeping, kRegSz, "running"), 1u);  // the write alone, nothing read
    EXPECT_EQ(set(bookkeeping, kRegSz, "released"), 1u);
    EXPECT_EQ(registry.DeleteValue(bookkeeping, "v"), kErrorSuccess);
  }
  registry.CloseKey(record);
  EXPECT_EQ(registry.DeleteKey(ledger, "prodx a b"), kErrorSuccess);
  EXPECT_TRUE(log.lines.empty()) << log.lines.front();
  EXPECT_EQ(journal.Changes(), 0);

  set(other, kRegSz, "a");
  set(other, kRegSz, "a");
  set(other, kRegExpandSz, "a");
  set(other, kRegExpandSz, "b");
  EXPECT_EQ(log.lines, (std::vector<std::string>{"[HKEY_LOCAL_MACHINE\\software\\FAMILY\\LedgerX]",
                                                 "\"v\"=\"a\"  ; added", "\"v\"=\"a\"  ; unchanged",
                                                 "\"v\"=hex(2):61,00  ; was \"a\"",
                                                 "\"v\"=hex(2):62,00  ; was hex(2):61,00"}));
  EXPECT_EQ(journal.Changes(), 3);

  // A bookkeeping write that fails is told: no decrement follows it.
  FaultSchedule failingWrite(2);  // the open, then the write
  FaultyRegistry refusingWrite(memory, failingWrite);
  JournalRegistry failedWrite(refusingWrite, journal, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Family\\Ledger");
  RegKey opened = 0;
  ASSERT_EQ(failedWrite.OpenKey(kHkeyLocalMachine, "SOFTWARE\\Family\\Ledger", kKeyAllAccess, &opened), kErrorSuccess);
  const std::string text = "running";
  EXPECT_EQ(failedWrite.SetValue(opened, "ProdX A B", kRegSz, reinterpret_cast<const std::uint8_t*>(text.c_str()), 8),
            kErrorAccessDenied);
  EXPECT_EQ(log.lines.back(),
            "failed (error 5): set value \"ProdX A B\" of [HKEY_LOCAL_MACHINE\\SOFTWARE\\Family\\Ledger]");
  EXPECT_EQ(journal.Failures(), 1);
  failedWrite.CloseKey(opened);
  registry.CloseKey(other);
  registry.CloseKey(ledger);
  registry.CloseKey(parent);
}

// Under code page 936 a name whose trail byte is 0x5C is written whole and
// quoted as one character: no backslash doubled, no key path cut.
TEST(ChangeLogTest, DoubleByteNamesAreWrittenWhole) {
  if (!ServicesRunCodePage(936)) GTEST_SKIP() << "the services do not run code page 936";
  TestPlatform platform;
  platform.codePage.Set(936);
  FamilyModel model(true);
  FamilyModel::PrepareSystem(platform);
  model.Install(platform, {"ProdTWC", "C", "ZH_CN"});
  model.Install(platform, {"ProdTWDLite", "D", "ZH_CN"});
  platform.WriteFile("C:\\logs\\run.log");
  EXPECT_EQ(platform.RunProgram("/quiet /log:C:\\logs\\run.log ProdTWDLite D ZH_CN C:\\Uninst\\uninst.exe x"), kExitDone);
  const std::string log = platform.ReadFile("C:\\logs\\run.log");
  // The value is listed below its folder's key, whatever other value of that key comes first.
  const std::size_t value = log.find("\r\n\"快捷乗\"=dword:00000001  ; was dword:00000002\r\n");
  ASSERT_NE(value, std::string::npos) << log;
  const std::size_t header = log.rfind("\r\n[", value);
  ASSERT_NE(header, std::string::npos) << log;
  EXPECT_EQ(log.substr(header, log.find("\r\n", header + 2) - header),
            "\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Talkwise\\Install\\Languages\\ZH_CN\\Folders\\工具乗]")
      << log;
  EXPECT_NE(log.find("\"快捷亅\"=-  ; was dword:00000001\r\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("乗\\\""), std::string::npos) << log;
}

// Names, data and paths hold what a user put there: a line end or other
// control character in them never starts a line of the log or the report.
TEST(ChangeLogTest, ControlCharactersInTheSystemsTextsCannotForgeALine) {
  for (const char* switches : {"/quiet /log:C:\\logs\\run.log ", "/preview /log:C:\\logs\\run.log "}) {
    TestPlatform platform;
    platform.LoadFixture("typical_run.reg");
    const std::string label = "AppEvents\\EventLabels\\Start Dictation US";
    WriteText(platform.registry, kHkeyCurrentUser, label, "v\nuninstaller started: C:\\FORGED.exe -y", "x\r\ny");
    WriteText(platform.registry, kHkeyCurrentUser, label, "w\x1b[2J\x7f", "");
    platform.WriteFile("C:\\logs\\run.log");
    EXPECT_EQ(platform.RunProgram(std::string(switches) + kRemoval), kExitDone);
    const std::string log = platform.ReadFile("C:\\logs\\run.log");
    EXPECT_NE(log.find("\r\n; was \"v<0a>uninstaller started: C:\\\\FORGED.exe -y\"=hex(1):78,0d,0a,79,00\r\n"),
              std::string::npos) << log;
    EXPECT_NE(log.find("\r\n; was \"w<1b>[2J<7f>\"=\"\"\r\n"), std::string::npos) << log;
    const std::size_t started = log.find("\nuninstaller ");  // the run's own line, and no other
    EXPECT_NE(started, std::string::npos) << log;
    EXPECT_EQ(log.find("\nuninstaller ", started + 1), std::string::npos) << log;
  }
}

// Read as what the removal changed: the summary counts the changes the log
// lists, a write that left a value as it was among neither; the ledger, the
// program's own bookkeeping, is two short lines at most and no change; and
// the preview says the same.
TEST(ChangeLogTest, TheSummaryCountsTheChangesListedAndTheLedgerTakesTwoLines) {
  struct Case {
    const char* fixture;
    const char* removal;
    const char* extra;  // .reg text over the fixture
    const char* recorded;
  };
  const std::string help = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\Help]\n";
  const Case cases[] = {
      {"typical_run.reg", "ProdTWDLite D en_us", "", "ProdTWDLite D EN_US recorded as running (shared)"},
      {"typical_run.reg", "ProdTWC C en_us", "", "ProdTWC C EN_US recorded as running (shared)"},
      // The help file already registered where ProdTWC's copy lies: written again, unchanged.
      {"typical_run.reg", "ProdTWDLite D en_us", "\"twcus.hlp\"=\"C:\\\\Talkwise\\\\Help\\\\twc\"\n",
       "ProdTWDLite D EN_US recorded as running (shared)"},
      {"typical_run.reg", "ProdTWDLite D en_us",
       "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Talkwise\\Install\\Counters]\n\"ProductCtr\"=dword:00000001\n"
       "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Talkwise\\Install\\Languages\\EN_US]\n\"ProdTWCCtr\"=-\n",
       "ProdTWDLite D EN_US recorded as running (full)"},
      {"family_installed.reg", "ProdTWDLite D en_us", "", "ProdTWDLite D EN_US recorded as running (shared)"},
      {"family_installed.reg", "ProdTWD T de_de", "", "ProdTWD T DE_DE recorded as running (shared)"},
  };
  int unchangedSeen = 0;
  for (const Case& test : cases) {
    for (const char* switches : {"/quiet /log:C:\\run.log ", "/preview "}) {
      SCOPED_TRACE(std::string(test.fixture) + " " + test.removal + " " + test.extra + " " + switches);
      TestPlatform platform;
      platform.LoadFixture(test.fixture);
      platform.LoadRegText("REGEDIT4\n" + (std::string(test.extra).rfind("[", 0) == 0 ? "" : help) + test.extra);
      for (const char* file : {"twc\\twcUS.hlp", "twc\\refbookUS.hlp"}) platform.WriteFile(std::string("C:\\Talkwise\\Help\\") + file);
      platform.WriteFile("C:\\run.log");
      EXPECT_EQ(platform.RunProgram(switches + std::string(test.removal) + " C:\\Uninst\\uninst.exe x.log"), kExitDone);
      const std::vector<std::string> lines =
          LogLines(switches[1] == 'p' ? platform.standardOutput.str() : platform.ReadFile("C:\\run.log"));
      int ledgerLines = 0;
      for (const std::string& line : lines) {
        EXPECT_LE(line.size(), 300u) << line;
        EXPECT_EQ(line.find("Talkwise\\Uninstall"), std::string::npos) << line;
        ledgerLines += line.rfind("ledger: ", 0) == 0 ? 1 : 0;
        unchangedSeen += line.find("  ; unchanged") != std::string::npos ? 1 : 0;
      }
      EXPECT_NE(std::find(lines.begin(), lines.end(), "ledger: " + std::string(test.recorded)), lines.end());
      EXPECT_EQ(ledgerLines, 2);
      EXPECT_GT(ListedChanges(lines), 10);
      EXPECT_EQ(ListedChanges(lines), SummaryChanges(lines));
    }
  }
  EXPECT_EQ(unchangedSeen, 2);  // the run's and the preview's
}

// The registry calls of one run of the fixture, with the switches or, when
// there are none, as the setup runs it.
std::uint64_t RegistryCalls(const std::string& fixture, bool lastProduct, const std::string& switches) {
  TestPlatform platform;
  platform.LoadFixture(fixture);
  if (lastProduct) MakeLastProduct(platform.registry, "ProdTWDLite", "EN_US");
  platform.WriteFile("C:\\logs\\run.log");
  FaultSchedule counting;
  FaultyRegistry registry(platform.registry, counting);
  platform.RunProgram(switches + kRemoval, registry);
  return counting.Calls();
}

// A shared release reads most of what it changes anyway: the log costs at
// most 3/10 more registry calls. A full removal reads nothing of the trees it
// deletes, and the log must list every value they held: one more call per
// value and one per key, which puts it above that bound (the benchmark shows
// the same on a large installation).
TEST(ChangeLogTest, RegistryCallsWithTheLogOn) {
  for (const char* fixture : {"typical_run.reg", "family_installed.reg"}) {
    const std::uint64_t shared = RegistryCalls(fixture, false, "");
    EXPECT_LE(RegistryCalls(fixture, false, "/quiet /log:C:\\logs\\run.log ") * 10, shared * 13) << fixture;
    const std::uint64_t full = RegistryCalls(fixture, true, "");
    EXPECT_LE(RegistryCalls(fixture, true, "/quiet /log:C:\\logs\\run.log ") * 10, full * 16) << fixture;
  }
}

}  // namespace
}  // namespace tw::test
