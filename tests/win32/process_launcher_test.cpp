// Win32ProcessLauncher's wait for the program's end: its exit code comes back,
// and a program that cannot start is reported as WinExec reports it; asked
// beforehand, it answers as the start would.
#include <gtest/gtest.h>

#include "platform/types.h"
#include "platform/win32/win32_process_launcher.h"
#include "tests/win32/scratch_folder.h"

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

TEST(ProcessLauncherTest, MayStartAnswersAsTheStartWould) {
  Win32ProcessLauncher launcher;
  std::uint32_t exitCode = 0;
  for (const char* line : {"C:\\no\\such\\program.exe -y log", "cmd.exe /c exit 3", "cmd /c exit 3"}) {
    EXPECT_EQ(launcher.MayStart(line) >= 32, launcher.RunToEnd(line, kSwShow, &exitCode) >= 32) << line;
  }
  EXPECT_EQ(launcher.MayStart("C:\\no\\such\\program.exe -y log"), 3u);  // ERROR_PATH_NOT_FOUND
  // A folder where the program should be is no program.
  const ScratchFolder folder;
  EXPECT_LT(launcher.MayStart((folder.Path() + " -y log").c_str()), 32u);
  EXPECT_EQ(launcher.MayStart((folder / "gone.exe -y log").c_str()), 2u);  // ERROR_FILE_NOT_FOUND
}

}  // namespace
}  // namespace tw::win32test
