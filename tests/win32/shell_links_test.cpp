// Win32ShellLinks on the running system's shell: the shortcut is re-pointed
// and keeps everything else, a missing one is made, and a path that cannot be
// converted whole is never written under a cut name.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "platform/types.h"
#include "platform/win32/held_folder.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_shell_links.h"
#include "tests/win32/scratch_folder.h"
#include "tests/win32/shell_link_file.h"

namespace tw::win32test {
namespace {

// Where a shortcut leads: target, working directory and icon location.
std::tuple<std::string, std::string, std::string, int> Pointing(const ShellLinkFields& link) {
  return std::make_tuple(link.target, link.workingDirectory, link.iconPath, link.iconIndex);
}

class ShellLinksTest : public ::testing::Test {
 protected:
  // Updates the shortcut and reads back what the shell finds in it.
  ShellLinkFields UpdateAndRead(const std::string& target, const std::string& linkPath,
                                const std::string& workingDirectory) {
    EXPECT_EQ(links.Update(target.c_str(), linkPath.c_str(), workingDirectory.c_str()), kSOk);
    ShellLinkFields read;
    EXPECT_TRUE(ReadShellLink(linkPath, &read)) << linkPath;
    return read;
  }

  ScratchFolder folder;
  Win32ShellLinks links;
};

TEST_F(ShellLinksTest, RepointsAnExistingShortcutAndKeepsItsOtherFields) {
  const std::string linkPath = folder / "Begin here.lnk";
  ShellLinkFields before;
  before.target = "C:\\Help\\old.hlp";
  before.workingDirectory = "C:\\Help";
  before.iconPath = "C:\\Help\\old.ico";
  before.iconIndex = 3;
  before.arguments = "-topic 7";
  before.description = "Begin here";
  before.hotKey = MAKEWORD('A', 0x06);  // Ctrl+Alt+A
  before.showCommand = SW_SHOWMAXIMIZED;
  ASSERT_TRUE(WriteShellLink(linkPath, before));
  // What the shell keeps of them (Wine's shell does not keep the show
  // command, and reads back the default).
  ShellLinkFields written;
  ASSERT_TRUE(ReadShellLink(linkPath, &written));
  const auto kept = [](const ShellLinkFields& link) {
    return std::make_tuple(link.arguments, link.description, link.hotKey);
  };
  ASSERT_EQ(written.iconPath, before.iconPath);
  ASSERT_EQ(kept(written), kept(before));

  const ShellLinkFields after = UpdateAndRead("C:\\Lite\\Help\\twlitcus.hlp", linkPath, "C:\\Lite\\Help");
  EXPECT_EQ(Pointing(after), std::make_tuple("C:\\Lite\\Help\\twlitcus.hlp", "C:\\Lite\\Help", "", 0));
  EXPECT_EQ(kept(after), kept(written));
  EXPECT_EQ(after.showCommand, written.showCommand);
}

TEST_F(ShellLinksTest, MakesAMissingShortcutInAnExistingFolder) {
  const std::string linkPath = folder / "General reference.lnk";

  const ShellLinkFields made = UpdateAndRead("C:\\Help\\twc\\refbookus.hlp", linkPath, "C:\\Help\\twc");
  EXPECT_EQ(Pointing(made), std::make_tuple("C:\\Help\\twc\\refbookus.hlp", "C:\\Help\\twc", "", 0));
}

TEST_F(ShellLinksTest, FailsWithoutWritingWhenTheFolderIsMissing) {
  const std::string linkPath = folder / "missing\\Begin here.lnk";

  EXPECT_LT(links.Update("C:\\Help\\a.hlp", linkPath.c_str(), "C:\\Help"), 0);
  EXPECT_FALSE(FileExists(linkPath));
  EXPECT_EQ(folder.Listing(), "");
}

// The link path is converted into MAX_PATH wide characters, terminator
// included: one that needs more is refused whole, not saved under its first
// 259 characters, which would name another file.
TEST_F(ShellLinksTest, RefusesALinkPathLongerThanMaxPath) {
  const std::size_t fill = (MAX_PATH - 1) - (folder.Path().size() + 1) - 4;  // 259 characters with ".lnk"
  const std::string fitting = folder / (std::string(fill, 'a') + ".lnk");
  const std::string tooLong = folder / (std::string(fill + 1, 'a') + ".lnk");
  ASSERT_EQ(fitting.size(), static_cast<std::size_t>(MAX_PATH - 1));

  EXPECT_LT(links.Update("C:\\Help\\a.hlp", tooLong.c_str(), "C:\\Help"), 0);
  EXPECT_EQ(folder.Listing(), "");

  EXPECT_EQ(links.Update("C:\\Help\\a.hlp", fitting.c_str(), "C:\\Help"), kSOk);
  EXPECT_TRUE(FileExists(fitting));
}

// Windows refuses to save a read-only shortcut; so does the program, also
// where the system would write through it (Wine running as root), and the
// question asked beforehand gets the same answer.
TEST_F(ShellLinksTest, RefusesAReadOnlyShortcutAsWindowsDoes) {
  const std::string linkPath = folder / "Begin here.lnk";
  ShellLinkFields before;
  before.target = "C:\\Help\\old.hlp";
  ASSERT_TRUE(WriteShellLink(linkPath, before));
  EXPECT_EQ(links.MayUpdate(linkPath.c_str()), kSOk);
  ASSERT_TRUE(SetFileAttributesA(linkPath.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(links.MayUpdate(linkPath.c_str()), kEAccessDenied);
  EXPECT_EQ(links.Update("C:\\Help\\new.hlp", linkPath.c_str(), "C:\\Help"), kEAccessDenied);
  ShellLinkFields after;
  ASSERT_TRUE(ReadShellLink(linkPath, &after));
  EXPECT_EQ(after.target, before.target);
  SetFileAttributesA(linkPath.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// What the change log reports as a shortcut's old target, before the update.
TEST_F(ShellLinksTest, ReadGivesTheFieldsThatAnUpdateChanges) {
  const std::string linkPath = folder / "Begin here.lnk";
  ShellLinkFields written;
  written.target = "C:\\Help\\old.hlp";
  written.workingDirectory = "C:\\Help";
  written.iconPath = "C:\\Help\\old.ico";
  written.iconIndex = 2;
  ASSERT_TRUE(WriteShellLink(linkPath, written));
  ShortcutTarget read;
  ASSERT_EQ(links.Read(linkPath.c_str(), &read), kSOk);
  EXPECT_EQ(std::make_tuple(read.targetPath, read.workingDirectory, read.iconPath, read.iconIndex),
            Pointing(written));
  EXPECT_LT(links.Read((folder / "missing.lnk").c_str(), &read), 0);
}

// The swap's race: the program folder is renamed away, and another put in
// its place, between the check of the folder and the save. The save goes
// through the folder held, by the file's one name: into the folder that was
// checked, wherever it now is, or nowhere where the system cannot tell that
// the file lies in it (Wine: the final paths of the two handles differ); never
// into the one now at its path.
TEST_F(ShellLinksTest, SavesIntoTheHeldFolderWhenItsPathIsSwappedMeanwhile) {
  ASSERT_TRUE(CreateDirectoryA((folder / "Start").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((folder / "Start\\Talkwise").c_str(), nullptr));
  const HeldFolder held(WidenFromActiveCodePage((folder / "Start\\Talkwise").c_str()).c_str());
  ASSERT_TRUE(held.Held());
  if (!MoveFileA((folder / "Start").c_str(), (folder / "Moved").c_str())) {
    GTEST_SKIP() << "this system renames no folder above one held open (error " << GetLastError() << ")";
  }
  ASSERT_TRUE(CreateDirectoryA((folder / "Start").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((folder / "Start\\Talkwise").c_str(), nullptr));

  bool created = false;
  const HANDLE file = held.Open(L"Begin here.lnk", FILE_WRITE_DATA, FILE_SHARE_READ, true, &created);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, "saved", 5, &written, nullptr));
    CloseHandle(file);
    EXPECT_TRUE(created);
    EXPECT_TRUE(FileExists(folder / "Moved\\Talkwise\\Begin here.lnk"));
  } else {
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  }
  EXPECT_FALSE(FileExists(folder / "Start\\Talkwise\\Begin here.lnk"));
}

// Only one name inside the held folder: nothing that climbs out of it or
// names a stream; a missing file without create is told as missing.
TEST_F(ShellLinksTest, TheHeldFolderOpensOneNameInsideItOnly) {
  ASSERT_TRUE(CreateDirectoryA((folder / "Talkwise").c_str(), nullptr));
  const HeldFolder held(WidenFromActiveCodePage((folder / "Talkwise").c_str()).c_str());
  ASSERT_TRUE(held.Held());
  for (const wchar_t* name : {L"", L".", L"..", L"..\\x.lnk", L"sub\\x.lnk", L"sub/x.lnk", L"x.lnk:stream"}) {
    EXPECT_EQ(held.Open(name, FILE_WRITE_DATA, FILE_SHARE_READ, true), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
  }
  EXPECT_EQ(held.Open(L"missing.lnk", FILE_READ_DATA, FILE_SHARE_READ, false), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(folder.Listing(), "Talkwise;");
  for (const char* name : {"x.lnk", "Talkwise\\missing.lnk", "Talkwise\\sub", "Talkwise\\x.lnk"}) {
    EXPECT_FALSE(FileExists(folder / name)) << name;
  }
  EXPECT_FALSE(HeldFolder(WidenFromActiveCodePage((folder / "absent").c_str()).c_str()).Held());
}

// A second name of a file outside is never written through, nor read.
TEST_F(ShellLinksTest, RefusesAShortcutWithAnotherName) {
  ScratchFolder outside;
  ShellLinkFields before;
  before.target = "C:\\Help\\old.hlp";
  ASSERT_TRUE(WriteShellLink(outside / "precious.lnk", before));
  ASSERT_TRUE(CreateHardLinkA((folder / "Begin here.lnk").c_str(), (outside / "precious.lnk").c_str(), nullptr));
  EXPECT_EQ(links.MayUpdate((folder / "Begin here.lnk").c_str()), kEAccessDenied);
  EXPECT_EQ(links.Update("C:\\Help\\new.hlp", (folder / "Begin here.lnk").c_str(), "C:\\Help"), kEAccessDenied);
  ShortcutTarget read;
  EXPECT_EQ(links.Read((folder / "Begin here.lnk").c_str(), &read), kEAccessDenied);
  ShellLinkFields after;
  ASSERT_TRUE(ReadShellLink(outside / "precious.lnk", &after));
  EXPECT_EQ(after.target, before.target);
}

}  // namespace
}  // namespace tw::win32test
