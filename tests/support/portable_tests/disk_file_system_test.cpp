// The portable file system's Windows behaviour that the start-menu cleanup
// relies on.
#include "platform/overlay/overlay_file_system.h"
#include "tests/support/portable/disk_file_system.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/test_platform.h"

namespace tw::test {
namespace {

struct WildcardCase {
  const char* pattern;
  const char* name;
  bool matches;
};

class WildcardTest : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(WildcardTest, MatchesLikeWindows) {
  EXPECT_EQ(MatchesWildcard(GetParam().pattern, GetParam().name), GetParam().matches)
      << GetParam().pattern << " / " << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, WildcardTest,
    ::testing::Values(WildcardCase{"*.*", "Begin Here.lnk", true}, WildcardCase{"*.*", "README", true},
                      WildcardCase{"*.*", "..", true}, WildcardCase{"*", "a.b.c", true},
                      WildcardCase{"*.LNK", "Dictate.lnk", true}, WildcardCase{"*.lnk", "Dictate.lnk.bak", false},
                      WildcardCase{"*us.hlp", "TalkEnUS.HLP", true}, WildcardCase{"*us.hlp", "us.hlp", true},
                      WildcardCase{"*us.hlp", "usa.hlp", false}, WildcardCase{"a?c", "abc", true},
                      WildcardCase{"a?c", "abbc", false}, WildcardCase{"Read*Me", "readME", true},
                      // a final ".*" may match nothing
                      WildcardCase{"Help.*", "HELP", true}, WildcardCase{"Help.*", "Help.cnt", true},
                      WildcardCase{"a.b.*", "a.b", true}, WildcardCase{"Help.*", "Helper", false}));

class DiskFileSystemTest : public ::testing::Test {
 protected:
  DiskFileSystemTest() { platform.WriteFile("C:\\Start\\Programs\\Folder\\Item.lnk", "x"); }

  TestPlatform platform;
  DiskFileSystem& files = platform.files;
};

TEST_F(DiskFileSystemTest, NamesResolveWithoutRegardToCase) {
  EXPECT_EQ(files.HostPath("c:\\START\\programs\\FOLDER\\item.LNK"), platform.Host("C:\\Start\\Programs\\Folder\\Item.lnk"));
  EXPECT_EQ(files.HostPath("C:\\Start\\.\\Programs\\..\\Programs\\Folder"), platform.Host("C:\\Start\\Programs\\Folder"));
  EXPECT_FALSE(files.HostPath("Start\\Programs").has_value());
  EXPECT_FALSE(files.HostPath("C:Start").has_value());
}

TEST_F(DiskFileSystemTest, ReadOnlyFileCannotBeDeletedUntilMadeWritable) {
  const char* item = "C:\\Start\\Programs\\Folder\\Item.lnk";
  ASSERT_TRUE(files.SetAttributes(item, kFileAttributeReadOnly));
  EXPECT_EQ(files.GetAttributes(item) & kFileAttributeReadOnly, kFileAttributeReadOnly);
  EXPECT_FALSE(files.RemoveFile(item));  // also when the tests run as root
  EXPECT_EQ(files.LastError(), kErrorAccessDenied);
  ASSERT_TRUE(files.SetAttributes(item, kFileAttributeArchive));
  EXPECT_TRUE(files.RemoveFile(item));
  EXPECT_FALSE(platform.Exists(item));
}

TEST_F(DiskFileSystemTest, FoldersGoOnlyWhenEmptyAndNeverAsFiles) {
  EXPECT_FALSE(files.RemoveFolder("C:\\Start\\Programs\\Folder"));
  EXPECT_EQ(files.LastError(), kErrorDirNotEmpty);
  EXPECT_FALSE(files.RemoveFile("C:\\Start\\Programs\\Folder"));
  EXPECT_EQ(files.LastError(), kErrorAccessDenied);
  EXPECT_FALSE(files.RemoveFolder("C:\\Start\\Programs\\Folder\\Item.lnk"));
  EXPECT_EQ(files.LastError(), kErrorDirectory);
  EXPECT_FALSE(files.RemoveFolder("C:\\Start\\Missing"));
  EXPECT_EQ(files.LastError(), kErrorFileNotFound);
  EXPECT_FALSE(files.RemoveFolder("C:\\Missing\\Missing"));
  EXPECT_EQ(files.LastError(), kErrorPathNotFound);
  ASSERT_TRUE(files.RemoveFile("C:\\Start\\Programs\\Folder\\Item.lnk"));
  EXPECT_TRUE(files.RemoveFolder("C:\\Start\\Programs\\Folder"));
}

TEST_F(DiskFileSystemTest, DriveRootIsNeverRemoved) {
  std::filesystem::remove_all(platform.Host("C:\\Start"));
  EXPECT_FALSE(files.RemoveFolder("C:\\"));
  EXPECT_EQ(files.LastError(), kErrorAccessDenied);
  EXPECT_TRUE(platform.Exists("C:\\"));
}

TEST_F(DiskFileSystemTest, LinksAreReparsePointsRemovedByThemselves) {
  TempFolder outside;
  std::ofstream(outside.Path() / "target.txt") << "keep";
  const auto folder = platform.Host("C:\\Start\\Programs\\Folder");
  std::filesystem::create_directory_symlink(outside.Path(), folder / "Folder Link");
  std::filesystem::create_symlink(outside.Path() / "target.txt", folder / "File Link.lnk");

  FindData entry;
  const FindHandle search = files.FindFirst("C:\\Start\\Programs\\Folder\\*.*", &entry);
  ASSERT_NE(search, kInvalidFindHandle);
  std::vector<std::pair<std::string, std::uint32_t>> found;
  do found.emplace_back(entry.name, entry.attributes);
  while (files.FindNext(search, &entry));
  EXPECT_EQ(files.LastError(), kErrorNoMoreFiles);
  EXPECT_TRUE(files.FindClose(search));
  EXPECT_EQ(found, (std::vector<std::pair<std::string, std::uint32_t>>{
                       {".", kFileAttributeDirectory},
                       {"..", kFileAttributeDirectory},
                       {"File Link.lnk", kFileAttributeReparsePoint},
                       {"Folder Link", kFileAttributeReparsePoint | kFileAttributeDirectory},
                       {"Item.lnk", kFileAttributeArchive}}));

  EXPECT_FALSE(files.RemoveFile("C:\\Start\\Programs\\Folder\\Folder Link"));
  EXPECT_TRUE(files.RemoveFolder("C:\\Start\\Programs\\Folder\\Folder Link"));
  EXPECT_TRUE(files.RemoveFile("C:\\Start\\Programs\\Folder\\File Link.lnk"));
  EXPECT_TRUE(std::filesystem::exists(outside.Path() / "target.txt"));
}

// As on Windows: a trail byte 0x5C of code page 936 is no separator, a
// read-only folder is not removed, and nothing is deleted or changed through
// a link at any level of the path, even when the link came after a look.
TEST_F(DiskFileSystemTest, PathsBehaveAsOnWindowsForHostileNamesAndLinks) {
  platform.codePage.Set(936);
  EXPECT_EQ(files.HostPath("C:\\Start\\\x81\\x"), platform.Host("C:\\Start") / "\x81\\x");
  platform.codePage.Set(1252);
  EXPECT_EQ(files.HostPath("C:\\Start\\\x81\\x"), platform.Host("C:\\Start") / "\x81" / "x");

  ASSERT_TRUE(files.SetAttributes("C:\\Start\\Programs\\Folder", kFileAttributeReadOnly | kFileAttributeDirectory));
  ASSERT_TRUE(files.RemoveFile("C:\\Start\\Programs\\Folder\\Item.lnk"));
  EXPECT_FALSE(files.RemoveFolder("C:\\Start\\Programs\\Folder"));
  EXPECT_EQ(files.LastError(), kErrorAccessDenied);

  TempFolder outside;
  std::filesystem::create_directories(outside.Path() / "Deep" / "Empty");
  std::ofstream(outside.Path() / "Deep" / "target.txt") << "keep";
  std::filesystem::create_directory_symlink(outside.Path(), platform.Host("C:\\Start") / "Link");
  for (const char* path : {"C:\\Start\\Link\\Deep\\target.txt", "C:\\Start\\Link\\Deep\\Empty"}) {
    EXPECT_FALSE(files.RemoveFile(path)) << path;
    EXPECT_FALSE(files.RemoveFolder(path)) << path;
    EXPECT_FALSE(files.SetAttributes(path, kFileAttributeReadOnly)) << path;
    EXPECT_EQ(files.LastError(), kErrorAccessDenied) << path;
  }
  EXPECT_TRUE(std::filesystem::exists(outside.Path() / "Deep" / "Empty"));
  EXPECT_EQ(files.GetAttributes("C:\\Start\\Link\\Deep\\target.txt"), kFileAttributeArchive);
}

// Double-byte names are kept whole, here and in a preview's overlay of these
// files: a trail byte that looks like a small letter is not folded.
TEST_F(DiskFileSystemTest, OverlayKeepsDoubleByteNamesApart) {
  platform.codePage.Set(936);
  platform.WriteFile("C:\\Start\\Help\\\xB0\x61.hlp", "x");
  platform.WriteFile("C:\\Start\\Help\\\xB0\x41.hlp", "x");
  EXPECT_NE(files.HostPath("C:\\Start\\Help\\\xB0\x41.hlp"), files.HostPath("C:\\Start\\Help\\\xB0\x61.hlp"));
  OverlayFileSystem overlay(files, platform.codePage);
  ASSERT_TRUE(overlay.RemoveFile("C:\\Start\\Help\\\xB0\x61.hlp"));
  EXPECT_EQ(overlay.GetAttributes("C:\\Start\\Help\\\xB0\x61.hlp"), kInvalidFileAttributes);
  EXPECT_NE(overlay.GetAttributes("C:\\Start\\Help\\\xB0\x41.hlp"), kInvalidFileAttributes);
  EXPECT_FALSE(overlay.RemoveFolder("C:\\Start\\Help"));
  EXPECT_EQ(overlay.LastError(), kErrorDirNotEmpty);
  EXPECT_TRUE(platform.Exists("C:\\Start\\Help\\\xB0\x61.hlp"));
}

TEST_F(DiskFileSystemTest, SearchesTellAMissingFolderFromNoMatch) {
  FindData entry;
  EXPECT_EQ(files.FindFirst("C:\\Start\\Missing\\*.*", &entry), kInvalidFindHandle);
  EXPECT_EQ(files.LastError(), kErrorPathNotFound);
  EXPECT_EQ(files.FindFirst("C:\\Start\\Programs\\Folder\\*.hlp", &entry), kInvalidFindHandle);
  EXPECT_EQ(files.LastError(), kErrorFileNotFound);
  EXPECT_EQ(files.OpenSearchCount(), 0u);
}

}  // namespace
}  // namespace tw::test
