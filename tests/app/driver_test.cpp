// The run from confirmation to the launch of the real uninstaller.
#include <gtest/gtest.h>

#include "app/message_ids.h"
#include "app/message_texts.h"
#include "tests/support/registry_probe.h"
#include "tests/support/test_platform.h"

namespace tw::test {
namespace {

constexpr const char* kFullCommand = "ProdTWDLite D en_us C:\\Uninst\\uninst.exe C:\\Uninst\\install.log";

class DriverTest : public ::testing::Test {
 protected:
  void SetUp() override { platform.LoadFixture("family_minimal.reg"); }

  TestPlatform platform;
};

TEST_F(DriverTest, ConfirmationIsAskedFirstWithYesNoQuestion) {
  platform.Run(kFullCommand);
  ASSERT_FALSE(platform.messages.shown.empty());
  const auto& question = platform.messages.shown.front();
  EXPECT_EQ(question.textId, static_cast<std::uint32_t>(IDS_CONFIRM_REMOVAL));
  EXPECT_EQ(question.text, TEXT_CONFIRM_REMOVAL);
  EXPECT_EQ(question.caption, "Corvane Sayframe卸载程序");
  EXPECT_EQ(question.flags, 0x24u);
  EXPECT_TRUE(platform.messages.threeDimensional);
  EXPECT_EQ(platform.messages.shown.size(), 1u);
}

TEST_F(DriverTest, DecliningChangesNothingAndStartsNothing) {
  const std::string before = platform.Snapshot();
  for (int answer : {kIdNo, 2 /* IDCANCEL */, 0}) {
    platform.messages.answers = {answer};
    EXPECT_FALSE(platform.MakeApp(kFullCommand)->RunUninstall());
  }
  EXPECT_EQ(platform.Snapshot(), before);
  EXPECT_TRUE(platform.processes.started.empty());
  EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
}

struct MissingParameterCase {
  const char* commandLine;
  std::uint32_t textId;
};

class MissingParameterTest : public DriverTest, public ::testing::WithParamInterface<MissingParameterCase> {};

TEST_P(MissingParameterTest, ShowsItsMessageAndChangesNothing) {
  const std::string before = platform.Snapshot();
  platform.Run(GetParam().commandLine);
  ASSERT_EQ(platform.messages.shown.size(), 2u);
  const auto& error = platform.messages.shown[1];
  EXPECT_EQ(error.textId, GetParam().textId);
  EXPECT_EQ(error.flags, 0x30u);
  EXPECT_EQ(error.caption, TEXT_APP_TITLE);
  EXPECT_EQ(platform.Snapshot(), before);
  EXPECT_TRUE(platform.processes.started.empty());
}

INSTANTIATE_TEST_SUITE_P(
    EachParameter, MissingParameterTest,
    ::testing::Values(MissingParameterCase{"", IDS_MISSING_PRODUCT}, MissingParameterCase{"   ", IDS_MISSING_PRODUCT},
                      MissingParameterCase{"ProdTWC", IDS_MISSING_PRODUCT},
                      MissingParameterCase{"ProdTWC C", IDS_MISSING_LANGUAGE},
                      MissingParameterCase{"ProdTWC C en_us", IDS_MISSING_UNINSTALLER},
                      MissingParameterCase{"ProdTWC C en_us C:\\u.exe", IDS_MISSING_LOG_FILE},
                      MissingParameterCase{"ProdTWC C en_us C:\\u.exe ", IDS_MISSING_LOG_FILE},
                      MissingParameterCase{"ProdTWC  C   en_us    C:\\u.exe", IDS_MISSING_LOG_FILE},
                      MissingParameterCase{"ProdTWC C en_us \"C:\\a b\\u.exe\"", IDS_MISSING_LOG_FILE},
                      MissingParameterCase{"ProdTWC C en_us \"C:\\a b\\u.exe\" ", IDS_MISSING_LOG_FILE},
                      MissingParameterCase{"ProdTWC C en_us \"C:\\a b\\u.exe log", IDS_MISSING_LOG_FILE}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(CommandLineTest, TokensAreCutAtBlanksOnly) {
  TestPlatform platform;
  auto app = platform.MakeApp("  ProdRun\tX  c   de_de\t1   C:\\u.exe  \"C:\\Log Files\\a.log\" -q  ");
  ASSERT_TRUE(app->ParseCommandLine());
  EXPECT_EQ(app->ProductCode(), "ProdRun\tX");
  EXPECT_EQ(app->VariantLetter(), "c");
  EXPECT_EQ(app->LanguageCode(), "DE_DE\t1");
  EXPECT_EQ(app->UninstallerPath(), "C:\\u.exe");
}

struct UninstallerPathCase {
  const char* rest;  // the command line after "ProdTWC C en_us "
  const char* path;
  const char* started;  // the command line the uninstaller is started with
};

class UninstallerPathTest : public ::testing::TestWithParam<UninstallerPathCase> {};

// A quoted fourth parameter runs to its closing quote, quotes kept, so that
// the started line names the whole path and the uninstaller parses the rest
// as it always has; an unquoted one ends at the first blank, as it always did.
TEST_P(UninstallerPathTest, ParameterAndStartedLine) {
  TestPlatform platform;
  platform.LoadFixture("family_minimal.reg");
  const std::string line = std::string("ProdTWC C en_us ") + GetParam().rest;
  auto app = platform.MakeApp(line);
  ASSERT_TRUE(app->ParseCommandLine());
  EXPECT_EQ(app->UninstallerPath(), GetParam().path);
  platform.Run(line);
  ASSERT_EQ(platform.processes.started.size(), 1u);
  EXPECT_EQ(platform.processes.started[0].commandLine, GetParam().started);
}

INSTANTIATE_TEST_SUITE_P(
    QuotedAndNot, UninstallerPathTest,
    ::testing::Values(
        UninstallerPathCase{"\"C:\\Program Files\\Corvane\\uninst.exe\" -f C:\\l.log",
                            "\"C:\\Program Files\\Corvane\\uninst.exe\"",
                            "\"C:\\Program Files\\Corvane\\uninst.exe\" -y -f C:\\l.log"},
        UninstallerPathCase{"C:\\Program Files\\Corvane\\uninst.exe -f", "C:\\Program",
                            "C:\\Program -y Files\\Corvane\\uninst.exe -f"},
        UninstallerPathCase{"   \"C:\\a b\\u.exe\"   log", "\"C:\\a b\\u.exe\"", "\"C:\\a b\\u.exe\" -y   log"},
        UninstallerPathCase{"\"C:\\a b\\u.exe\"x log", "\"C:\\a b\\u.exe\"", "\"C:\\a b\\u.exe\" -y x log"},
        UninstallerPathCase{"\"\" log", "\"\"", "\"\" -y log"},
        UninstallerPathCase{"C:\\u\"x y\" log", "C:\\u\"x", "C:\\u\"x -y y\" log"},
        UninstallerPathCase{"\"C:\\u.exe\" \"C:\\Log Files\\a.log\"", "\"C:\\u.exe\"",
                            "\"C:\\u.exe\" -y \"C:\\Log Files\\a.log\""},
        // The rest is kept whole: blanks, quotes and trailing blanks.
        UninstallerPathCase{"C:\\u.exe  \"C:\\Log Files\\a.log\" -q\t ", "C:\\u.exe",
                            "C:\\u.exe -y  \"C:\\Log Files\\a.log\" -q\t "}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(CommandLineTest, MembersBeforeTheMissingParameterKeepTheirValues) {
  TestPlatform platform;
  auto app = platform.MakeApp("ProdTWC N fr_fr");
  EXPECT_FALSE(app->ParseCommandLine());
  EXPECT_EQ(app->ProductCode(), "ProdTWC");
  EXPECT_EQ(app->VariantLetter(), "N");
  EXPECT_EQ(app->LanguageCode(), "FR_FR");
  EXPECT_EQ(app->UninstallerPath(), "");
}

TEST(CommandLineTest, HostileCommandLinesNeverCrash) {
  TestPlatform platform;
  std::string hostile;
  for (int i = 0; i < 300000; ++i) hostile += static_cast<char>(1 + (i * 7919L) % 255);
  for (const std::string& line : {hostile, std::string(100000, 'x'), std::string(100000, ' '),
                                  std::string("a b c d \0e f", 12), std::string("\xff\xfe \x81\x40 \x80 d e")}) {
    auto app = platform.MakeApp(line);
    app->ParseCommandLine();
  }
  auto app = platform.MakeApp(std::string("a b c d \0e f", 12));
  EXPECT_FALSE(app->ParseCommandLine());  // the text ends at the NUL, as Windows hands it over
}

TEST_F(DriverTest, UninstallerIsStartedWithDashYAndTheRestOfTheLine) {
  platform.Run("ProdTWC C en_us C:\\u.exe  two  blanks");
  ASSERT_EQ(platform.processes.started.size(), 1u);
  EXPECT_EQ(platform.processes.started[0].commandLine, "C:\\u.exe -y  two  blanks");
  EXPECT_EQ(platform.processes.started[0].showCommand, 5u);
  EXPECT_EQ(platform.messages.shown.size(), 1u);
}

TEST_F(DriverTest, FailedStartIsReportedWithResultAndCommandLine) {
  for (std::uint32_t result : {0u, 2u, 31u}) {
    TestPlatform fresh;
    fresh.processes.result = result;
    fresh.Run("ProdTWC C en_us C:\\missing.exe log.txt");
    ASSERT_EQ(fresh.messages.shown.size(), 2u);
    const auto& failure = fresh.messages.shown[1];
    EXPECT_EQ(failure.textId, static_cast<std::uint32_t>(IDS_LAUNCH_FAILED));
    EXPECT_EQ(failure.flags, 0x30u);
    EXPECT_EQ(failure.text, "不能用下面命令行启动卸载程序(rc=" + std::to_string(result) +
                                "):C:\\missing.exe -y log.txt");
  }
  TestPlatform started;
  started.processes.result = 32;
  started.Run("ProdTWC C en_us C:\\u.exe log.txt");
  EXPECT_EQ(started.messages.shown.size(), 1u);
}

}  // namespace
}  // namespace tw::test
