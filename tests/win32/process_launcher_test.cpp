// Win32ProcessLauncher's wait for the program's end: its exit code comes back,
// and a program that cannot start is reported as WinExec reports it.
#include <gtest/gtest.h>

#include "platform/types.h"
#include "platform/win32/win32_process_launcher.h"

namespace tw::win32test {
namespace {

TEST(ProcessLauncherTest, RunToEndGivesTheProgramsExitCode) {
  Win32ProcessLauncher launcher;
  std::uint32_t exitCode = 0;
  EXPECT_EQ(launcher.RunToEnd("cmd.exe /c exit 1641", kSwShow, &exitCode), 33u);
  EXPECT_EQ(exitCode, 1641u);
  exitCode = 99;
  EXPECT_EQ(launcher.RunToEnd("C:\\no\\such\\program.exe -y log", kSwShow, &exitCode),
            launcher.Start("C:\\no\\such\\program.exe -y log", kSwShow));
  EXPECT_LT(launcher.RunToEnd("C:\\no\\such\\program.exe -y log", kSwShow, &exitCode), 32u);
  EXPECT_EQ(exitCode, 99u);
}

}  // namespace
}  // namespace tw::win32test
