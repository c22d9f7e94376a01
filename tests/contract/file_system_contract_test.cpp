// The kernel32 file behaviour the start-menu and help cleanup rely on.
#include <algorithm>
#include <filesystem>

#include "tests/contract/contract_test.h"
#include "tests/support/held_open.h"

namespace tw::contract {
namespace {

class FileSystemContract : public ContractTest {};

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(FileSystemContract, StarDotStarYieldsTheDotEntriesFirstThenEverything) {
  for (const char* name : {"b.txt", "A.hlp", "d.e.f", "noext"}) MakeFile(name);
  MakeFolder("c");
  Status end = kErrorSuccess;
  const auto found = Find(FilePath("*.*"), &end);
  EXPECT_EQ(end, kErrorNoMoreFiles);
  ASSERT_GE(found.size(), 2u);
  EXPECT_EQ(found[0].name, ".");
  EXPECT_EQ(found[1].name, "..");
  EXPECT_NE(found[0].attributes & kFileAttributeDirectory, 0u);
  EXPECT_NE(found[1].attributes & kFileAttributeDirectory, 0u);
  const std::vector<std::string> names = NamesOf(found);
  const std::vector<std::string> rest(names.begin() + 2, names.end());
  EXPECT_EQ(Sorted(rest), (std::vector<std::string>{"A.hlp", "b.txt", "c", "d.e.f", "noext"}));
  for (const FindData& entry : found) {
    EXPECT_EQ((entry.attributes & kFileAttributeDirectory) != 0, entry.name == "c" || entry.name[0] == '.')
        << entry.name;
  }
}

TEST_F(FileSystemContract, EntriesComeInNameOrderWithoutRegardToCase) {
  for (const char* name : {"b2.hlp", "A1.hlp", "a3.hlp", "C0.hlp", "_x.hlp"}) MakeFile(name);
  Status end = kErrorSuccess;
  EXPECT_EQ(NamesOf(Find(FilePath("*.hlp"), &end)),
            (std::vector<std::string>{"A1.hlp", "a3.hlp", "b2.hlp", "C0.hlp", "_x.hlp"}));
}

TEST_F(FileSystemContract, LanguageSuffixPatternMatchesWithoutRegardToCase) {
  for (const char* name : {"TWCUS.HLP", "twc_us.hlp", "a.b.us.hlp", "us.hlp", "plus.hlp", "twcus.cnt", "twcuk.hlp",
                           "twcus.hlp.bak", "twcusa.hlp"}) {
    MakeFile(name);
  }
  Status end = kErrorSuccess;
  EXPECT_EQ(Sorted(NamesOf(Find(FilePath("*us.hlp"), &end))),
            (std::vector<std::string>{"TWCUS.HLP", "a.b.us.hlp", "plus.hlp", "twc_us.hlp", "us.hlp"}));
  EXPECT_EQ(end, kErrorNoMoreFiles);
  EXPECT_EQ(NamesOf(Find(FilePath("*US.CNT"), &end)), std::vector<std::string>{"twcus.cnt"});
}

TEST_F(FileSystemContract, QuestionMarkStandsForExactlyOneCharacter) {
  for (const char* name : {"abc.txt", "ac.txt", "abbc.txt", "aXc.txt"}) MakeFile(name);
  Status end = kErrorSuccess;
  EXPECT_EQ(Sorted(NamesOf(Find(FilePath("a?c.txt"), &end))), (std::vector<std::string>{"aXc.txt", "abc.txt"}));
}

TEST_F(FileSystemContract, NoMatchInAnExistingFolderIsFileNotFound) {
  MakeFile("other.txt");
  Status end = kErrorSuccess;
  EXPECT_TRUE(Find(FilePath("*.hlp"), &end).empty());
  EXPECT_EQ(end, kErrorFileNotFound);
}

TEST_F(FileSystemContract, SearchInAMissingFolderIsPathNotFound) {
  Status end = kErrorSuccess;
  EXPECT_TRUE(Find(FilePath("missing\\*.*"), &end).empty());
  EXPECT_EQ(end, kErrorPathNotFound);
  EXPECT_TRUE(Find(FilePath("missing\\deeper\\*.hlp"), &end).empty());
  EXPECT_EQ(end, kErrorPathNotFound);
}

TEST_F(FileSystemContract, DriveRootHasNoDotEntries) {
  Status end = kErrorSuccess;
  const auto names = NamesOf(Find("C:\\*.*", &end));
  EXPECT_EQ(std::count(names.begin(), names.end(), "."), 0);
  EXPECT_EQ(std::count(names.begin(), names.end(), ".."), 0);
  EXPECT_NE(std::find(names.begin(), names.end(), world->ScratchFolder().substr(3)), names.end());
}

TEST_F(FileSystemContract, FindNextAfterTheLastEntryKeepsReportingNoMoreFiles) {
  MakeFile("only.hlp");
  FindData data;
  const FindHandle search = files.FindFirst(FilePath("*.hlp").c_str(), &data);
  ASSERT_NE(search, kInvalidFindHandle);
  EXPECT_EQ(data.name, "only.hlp");
  EXPECT_FALSE(files.FindNext(search, &data));
  EXPECT_EQ(files.LastError(), kErrorNoMoreFiles);
  EXPECT_FALSE(files.FindNext(search, &data));
  EXPECT_EQ(files.LastError(), kErrorNoMoreFiles);
  EXPECT_TRUE(files.FindClose(search));
}

TEST_F(FileSystemContract, AttributesOfFilesFoldersAndMissingPaths) {
  MakeFile("plain.txt");
  MakeFile("locked.txt", true);
  MakeFolder("sub");
  EXPECT_EQ(files.GetAttributes(FilePath("plain.txt").c_str()), kFileAttributeArchive);
  EXPECT_EQ(files.GetAttributes(FilePath("locked.txt").c_str()), kFileAttributeArchive | kFileAttributeReadOnly);
  EXPECT_EQ(files.GetAttributes(FilePath("SUB").c_str()) & kFileAttributeDirectory, kFileAttributeDirectory);
  EXPECT_EQ(files.GetAttributes(FilePath("absent.txt").c_str()), kInvalidFileAttributes);
  EXPECT_EQ(files.LastError(), kErrorFileNotFound);
  EXPECT_EQ(files.GetAttributes(FilePath("absent\\file.txt").c_str()), kInvalidFileAttributes);
  EXPECT_EQ(files.LastError(), kErrorPathNotFound);
}

TEST_F(FileSystemContract, ReadOnlyFileIsDeletedOnlyAfterItsAttributeIsCleared) {
  MakeFile("locked.lnk", true);
  const std::string path = FilePath("locked.lnk");
  EXPECT_FALSE(files.RemoveFile(path.c_str()));
  EXPECT_EQ(files.LastError(), kErrorAccessDenied);
  EXPECT_TRUE(files.SetAttributes(path.c_str(), kFileAttributeNormal));
  EXPECT_EQ(files.GetAttributes(path.c_str()) & kFileAttributeReadOnly, 0u);
  EXPECT_TRUE(files.RemoveFile(path.c_str()));
  EXPECT_EQ(files.GetAttributes(path.c_str()), kInvalidFileAttributes);
}

TEST_F(FileSystemContract, DeleteFileErrors) {
  MakeFolder("folder");
  EXPECT_FALSE(files.RemoveFile(FilePath("folder").c_str()));
  EXPECT_EQ(files.LastError(), kErrorAccessDenied);
  EXPECT_FALSE(files.RemoveFile(FilePath("absent.lnk").c_str()));
  EXPECT_EQ(files.LastError(), kErrorFileNotFound);
  EXPECT_FALSE(files.RemoveFile(FilePath("absent\\x.lnk").c_str()));
  EXPECT_EQ(files.LastError(), kErrorPathNotFound);
  EXPECT_TRUE(files.SetAttributes(FilePath("folder").c_str(), kFileAttributeNormal));
}

TEST_F(FileSystemContract, RemoveDirectoryErrors) {
  MakeFolder("full");
  MakeFile("full\\x.lnk");
  MakeFile("file.txt");
  EXPECT_FALSE(files.RemoveFolder(FilePath("full").c_str()));
  EXPECT_EQ(files.LastError(), kErrorDirNotEmpty);
  EXPECT_FALSE(files.RemoveFolder(FilePath("file.txt").c_str()));
  EXPECT_EQ(files.LastError(), kErrorDirectory);
  EXPECT_FALSE(files.RemoveFolder(FilePath("absent").c_str()));
  EXPECT_EQ(files.LastError(), kErrorFileNotFound);
  EXPECT_FALSE(files.RemoveFolder(FilePath("absent\\deeper").c_str()));
  EXPECT_EQ(files.LastError(), kErrorPathNotFound);
  EXPECT_TRUE(files.RemoveFile(FilePath("full\\x.lnk").c_str()));
  EXPECT_TRUE(files.RemoveFolder(FilePath("FULL").c_str()));
  EXPECT_EQ(files.GetAttributes(FilePath("full").c_str()), kInvalidFileAttributes);
}

// A second name of a file outside: the attributes are the file's, every
// name's, and stay; a name whose delete needs no attribute change may go, and
// once the other name is gone the attributes are the file's alone again.
TEST_F(FileSystemContract, AFileWithAnotherNameKeepsItsAttributes) {
  MakeFolder("elsewhere");
  MakeFolder("program");
  MakeFile("elsewhere\\precious.txt", true);
  MakeFile("elsewhere\\open.txt");
  for (const char* name : {"precious.txt", "open.txt"}) {
    std::error_code error;
    std::filesystem::create_hard_link(world->Host(FilePath(std::string("elsewhere\\") + name)),
                                      world->Host(FilePath(std::string("program\\") + name)), error);
    ASSERT_FALSE(error) << name << ": " << error.message();
  }
  const std::string outside = FilePath("elsewhere\\precious.txt");
  const std::string inside = FilePath("program\\precious.txt");
  EXPECT_FALSE(files.MaySetAttributes(inside.c_str()));
  EXPECT_EQ(files.LastError(), kErrorAccessDenied);
  EXPECT_FALSE(files.SetAttributes(inside.c_str(), kFileAttributeNormal));
  EXPECT_EQ(files.LastError(), kErrorAccessDenied);
  EXPECT_FALSE(files.SetAttributes(outside.c_str(), kFileAttributeNormal));
  for (const std::string& name : {inside, outside}) {
    EXPECT_EQ(files.GetAttributes(name.c_str()), kFileAttributeArchive | kFileAttributeReadOnly) << name;
  }
  EXPECT_FALSE(files.RemoveFile(inside.c_str()));
  EXPECT_EQ(files.LastError(), kErrorAccessDenied);

  EXPECT_TRUE(files.RemoveFile(FilePath("program\\open.txt").c_str()));
  EXPECT_EQ(files.GetAttributes(FilePath("program\\open.txt").c_str()), kInvalidFileAttributes);
  EXPECT_EQ(files.GetAttributes(FilePath("elsewhere\\open.txt").c_str()), kFileAttributeArchive);

  // The folder's attributes are its own, whatever its files are.
  EXPECT_TRUE(files.MaySetAttributes(FilePath("program").c_str()));
  std::filesystem::permissions(world->Host(outside), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
  std::filesystem::remove(world->Host(outside));
  EXPECT_TRUE(files.MaySetAttributes(inside.c_str()));
  EXPECT_TRUE(files.SetAttributes(inside.c_str(), kFileAttributeNormal));
  EXPECT_TRUE(files.RemoveFile(inside.c_str()));
}

// A file handed to a call that follows links (a hive load) must be a file
// of its own at exactly its path: a link at it or on the way to it, a second
// name, a folder or nothing there are all refused.
TEST_F(FileSystemContract, OnlyAFileOfItsOwnAtItsPathIsPlain) {
  MakeFolder("elsewhere");
  MakeFolder("profile");
  MakeFile("elsewhere\\hive.dat");
  MakeFile("profile\\own.dat", true);
  MakeFile("profile\\shared.dat");
  std::error_code error;
  std::filesystem::create_hard_link(world->Host(FilePath("profile\\shared.dat")),
                                    world->Host(FilePath("elsewhere\\shared.dat")), error);
  ASSERT_FALSE(error) << error.message();
  EXPECT_TRUE(files.IsPlainFile(FilePath("profile\\own.dat").c_str()));
  EXPECT_TRUE(files.IsPlainFile(FilePath("PROFILE\\Own.dat").c_str()));
  struct Refused {
    const char* name;
    Status error;
  };
  std::vector<Refused> refused{{"profile\\shared.dat", kErrorAccessDenied},
                               {"profile", kErrorAccessDenied},
                               {"profile\\absent.dat", kErrorFileNotFound},
                               {"absent\\hive.dat", kErrorPathNotFound}};
  std::error_code noFileLink;
  std::error_code noFolderLink;
  std::filesystem::create_symlink(world->Host(FilePath("elsewhere\\hive.dat")),
                                  world->Host(FilePath("profile\\linked.dat")), noFileLink);
  std::filesystem::create_directory_symlink(world->Host(FilePath("elsewhere")), world->Host(FilePath("linked")),
                                            noFolderLink);
  if (!noFileLink) refused.push_back({"profile\\linked.dat", kErrorAccessDenied});
  if (!noFolderLink) refused.push_back({"linked\\hive.dat", kErrorAccessDenied});
  for (const Refused& path : refused) {
    EXPECT_FALSE(files.IsPlainFile(FilePath(path.name).c_str())) << path.name;
    EXPECT_EQ(files.LastError(), path.error) << path.name;
  }
  if (noFileLink || noFolderLink) {
    GTEST_SKIP() << "no symbolic links here: " << (noFileLink ? noFileLink : noFolderLink).message();
  }
}

// Another program holds the shortcut open without delete sharing: its delete
// and the open that asks for one fail with a sharing violation, and its
// folder stays full; once it is let go, both go.
TEST_F(FileSystemContract, AFileHeldOpenWithoutDeleteSharingStaysWithItsFolder) {
  MakeFolder("held");
  MakeFile("held\\open.lnk");
  const std::string file = FilePath("held\\open.lnk");
  {
    const test::HeldOpen held(world->Host(file));
    ASSERT_TRUE(held.Held());
    EXPECT_FALSE(files.MayRemove(file.c_str(), false));
    EXPECT_EQ(files.LastError(), kErrorSharingViolation);
    EXPECT_FALSE(files.RemoveFile(file.c_str()));
    EXPECT_EQ(files.LastError(), kErrorSharingViolation);
    EXPECT_FALSE(files.RemoveFolder(FilePath("held").c_str()));
    EXPECT_EQ(files.LastError(), kErrorDirNotEmpty);
    EXPECT_TRUE(files.MayRemove(FilePath("held").c_str(), true));
  }
  EXPECT_TRUE(files.MayRemove(file.c_str(), false));
  EXPECT_NE(files.GetAttributes(file.c_str()), kInvalidFileAttributes);
  EXPECT_TRUE(files.RemoveFile(file.c_str()));
  EXPECT_TRUE(files.RemoveFolder(FilePath("held").c_str()));
}

// As RemoveDirectory does: a read-only folder stays until its attribute goes.
TEST_F(FileSystemContract, ReadOnlyFolderIsRemovedOnlyAfterItsAttributeIsCleared) {
  MakeFolder("locked");
  const std::string path = FilePath("locked");
  ASSERT_TRUE(files.SetAttributes(path.c_str(), kFileAttributeReadOnly));
  if (files.GetAttributes(path.c_str()) == kFileAttributeDirectory) {
    GTEST_SKIP() << "this system sets no read-only attribute on folders (Wine ignores it)";
  }
  EXPECT_EQ(files.GetAttributes(path.c_str()), kFileAttributeDirectory | kFileAttributeReadOnly);
  EXPECT_FALSE(files.RemoveFolder(path.c_str()));
  EXPECT_EQ(files.LastError(), kErrorAccessDenied);
  ASSERT_TRUE(files.SetAttributes(path.c_str(), kFileAttributeNormal));
  EXPECT_TRUE(files.RemoveFolder(path.c_str()));
}

// What the programs directory is checked on: where a folder really lies,
// spelt as the disk holds it; nothing for a file or a missing folder.
TEST_F(FileSystemContract, FinalFolderPathIsWhereTheFolderLiesSpeltAsTheDiskHoldsIt) {
  MakeFolder("Long Folder Name");
  MakeFile("file.txt");
  UserFolders& user = world->userFolders();
  const std::string folder = FilePath("Long Folder Name");
  EXPECT_EQ(user.FinalFolderPath(FilePath("LONG FOLDER NAME")), folder);
  EXPECT_EQ(user.FinalFolderPath(FilePath("Long Folder Name\\..\\Long Folder Name\\")), folder);
  EXPECT_EQ(user.FinalFolderPath(FilePath("file.txt")), std::nullopt);
  EXPECT_EQ(user.FinalFolderPath(FilePath("absent")), std::nullopt);
}

}  // namespace
}  // namespace tw::contract
