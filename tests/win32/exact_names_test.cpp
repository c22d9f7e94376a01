// Win32FileSystem's searches on the running system: a name whose 8-bit form
// would take Windows' best fit (U+FF0E to ".", U+FF3C to "\") comes back
// empty, never as a path; an exact name comes back as it is.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"
#include "tests/win32/scratch_folder.h"

namespace tw::win32test {
namespace {

TEST(ExactNamesTest, NamesWithoutAnExactFormComeBackEmpty) {
  ScratchFolder folder;
  const WideText base = WidenFromActiveCodePage(folder.Path().c_str());
  const WideText odd = base + L"\\\xFF0E\xFF0E\xFF3C\xFF0E\xFF0E\xFF3Cvictim";
  const WideText plain = base + L"\\plain";
  ASSERT_TRUE(CreateDirectoryW(odd.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(plain.c_str(), nullptr));

  Win32FileSystem files;
  FindData entry;
  const FindHandle search = files.FindFirst((folder.Path() + "\\*.*").c_str(), &entry);
  ASSERT_NE(search, kInvalidFindHandle);
  std::multiset<std::string> names;
  do names.insert(entry.name);
  while (files.FindNext(search, &entry));
  files.FindClose(search);
  RemoveDirectoryW(odd.c_str());
  RemoveDirectoryW(plain.c_str());
  EXPECT_EQ(names, (std::multiset<std::string>{"", ".", "..", "plain"}));
  EXPECT_TRUE(NarrowExactly(L"Talkwise").has_value());
  EXPECT_FALSE(NarrowExactly(L"\xFF0E\xFF0E\xFF3C").has_value());
}

}  // namespace
}  // namespace tw::win32test
