// Win32ProcessLauncher starts exactly the program its command line names (a
// fully qualified path, quoted when it holds blanks) and never searches; its
// wait gives the program's exit code, a program that cannot start is
// reported as WinExec reports it, and asked beforehand it answers as the
// start would.
#include <windows.h>

#include <gtest/gtest.h>


#include "platform/types.h"
#include "platform/win32/win32_process_launcher.h"
#include "tests/win32/scratch_folder.h"

namespace tw::win32test {
namespace {

std::string SystemProgram(const char* name) {
  char folder[MAX_PATH];
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  return std::string(folder, length) + "\\" + name;
}

TEST(ProcessLauncherTest, RunToEndGivesTheProgramsExitCode) {
  Win32ProcessLauncher launcher;
  std::uint32_t exitCode = 0;
  EXPECT_EQ(launcher.RunToEnd((SystemProgram("cmd.exe") + " /c exit 1641").c_str(), kSwShow, &exitCode), 33u);
  EXPECT_EQ(exitCode, 1641u);
  exitCode = 99;
  EXPECT_EQ(launcher.RunToEnd("C:\\no\\such\\program.exe -y log", kSwShow, &exitCode),
            launcher.Start("C:\\no\\such\\program.exe -y log", kSwShow));
  EXPECT_LT(launcher.RunToEnd("C:\\no\\such\\program.exe -y log", kSwShow, &exitCode), 32u);
  EXPECT_EQ(exitCode, 99u);
}

// A quoted path with blanks is one program, handed its line quotes and all.
TEST(ProcessLauncherTest, QuotedPathWithBlanksStartsThatProgram) {
  const ScratchFolder folder;
  const std::string withBlank = folder / "Program Files";
  ASSERT_TRUE(CreateDirectoryA(withBlank.c_str(), nullptr));
  const std::string copy = withBlank + "\\cmd.exe";
  ASSERT_TRUE(CopyFileA(SystemProgram("cmd.exe").c_str(), copy.c_str(), TRUE));
  Win32ProcessLauncher launcher;
  std::uint32_t exitCode = 0;
  const std::string line = "\"" + copy + "\" /c exit 7";
  EXPECT_GE(launcher.MayStart(line.c_str()), 32u);
  EXPECT_EQ(launcher.RunToEnd(line.c_str(), kSwShow, &exitCode), 33u);
  EXPECT_EQ(exitCode, 7u);
  DeleteFileA(copy.c_str());
  RemoveDirectoryA(withBlank.c_str());
}

TEST(ProcessLauncherTest, NamesThatNeedASearchStartNothing) {
  const ScratchFolder folder;
  // "<folder>\Program.exe" is what a search of the unquoted line finds first.
  ASSERT_TRUE(CopyFileA(SystemProgram("cmd.exe").c_str(), (folder / "Program.exe").c_str(), TRUE));
  const std::string unquoted = folder / "Program Files\\u.exe /c exit 5";
  const std::string noExtension = folder / "Program /c exit 5";
  Win32ProcessLauncher launcher;
  for (const std::string& line : {unquoted, noExtension, std::string("cmd.exe /c exit 5"), std::string("cmd /c exit 5"),
                                  std::string("\"cmd.exe\" /c exit 5"), std::string("C:cmd.exe /c exit 5")}) {
    std::uint32_t exitCode = 99;
    EXPECT_EQ(launcher.MayStart(line.c_str()), 2u) << line;  // ERROR_FILE_NOT_FOUND
    EXPECT_EQ(launcher.RunToEnd(line.c_str(), kSwShow, &exitCode), 2u) << line;
    EXPECT_EQ(launcher.Start(line.c_str(), kSwShow), 2u) << line;
    EXPECT_EQ(exitCode, 99u) << line;
  }
  DeleteFileA((folder / "Program.exe").c_str());
}

TEST(ProcessLauncherTest, MayStartAnswersAsTheStartWould) {
  Win32ProcessLauncher launcher;
  std::uint32_t exitCode = 0;
  const ScratchFolder folder;
  for (const std::string& line : {std::string("C:\\no\\such\\program.exe -y log"), SystemProgram("cmd.exe") + " /c exit 3",
                                  folder.Path() + " -y log", folder / "gone.exe -y log"}) {
    EXPECT_EQ(launcher.MayStart(line.c_str()) >= 32, launcher.RunToEnd(line.c_str(), kSwShow, &exitCode) >= 32)
        << line;
  }
  EXPECT_EQ(launcher.MayStart("C:\\no\\such\\program.exe -y log"), 3u);  // ERROR_PATH_NOT_FOUND
  // A folder where the program should be is no program.
  EXPECT_LT(launcher.MayStart((folder.Path() + " -y log").c_str()), 32u);
  EXPECT_EQ(launcher.MayStart((folder / "gone.exe -y log").c_str()), 2u);  // ERROR_FILE_NOT_FOUND
}

}  // namespace
}  // namespace tw::win32test
