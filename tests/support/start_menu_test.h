// A test of the start-menu cleanup: the portable platform with the file calls
// watched, the user's programs directory, and a look at everything on disk.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "tests/support/test_platform.h"
#include "tests/support/watched_file_system.h"

namespace tw::test {

class StartMenuTest : public ::testing::Test {
 protected:
  static constexpr const char* kPrograms = "C:\\users\\Ann\\Start Menu\\Programs";

  StartMenuTest();

  // An application whose file calls go through `watched`, with its command line parsed.
  std::unique_ptr<UninstallApp> MakeApp(const std::string& commandLine);
  void SetProgramsDirectory(const std::string& directory);
  // Every file, folder and link below the drives, as host paths relative to
  // them; links are listed, never followed.
  std::set<std::string> DiskContents() const;
  // The entry of DiskContents() that stands for a Windows path.
  std::string ContentsEntry(const std::string& windowsPath) const;
  // Creates a symbolic link at a Windows path to a host path.
  void Link(const std::string& windowsPath, const std::filesystem::path& target, bool toFolder);
  void MakeReadOnly(const std::string& windowsPath);

  TestPlatform platform;
  WatchedFileSystem watched{platform.drives.Path(), &platform.codePage};
};

// Whether this system lets a test make symbolic links (Wine does not).
bool SymbolicLinksWork();

}  // namespace tw::test

#define TW_NEEDS_SYMBOLIC_LINKS() \
  if (!::tw::test::SymbolicLinksWork()) GTEST_SKIP() << "this system makes no symbolic links"
