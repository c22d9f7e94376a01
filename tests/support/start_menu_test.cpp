#include "tests/support/start_menu_test.h"

#include "platform/code_page.h"
#include "tests/support/registry_probe.h"

namespace tw::test {

StartMenuTest::StartMenuTest() { SetProgramsDirectory(kPrograms); }

std::unique_ptr<UninstallApp> StartMenuTest::MakeApp(const std::string& commandLine) {
  auto app = std::make_unique<UninstallApp>(platform.View().With(watched), commandLine, TestPlatform::kInstance);
  EXPECT_TRUE(app->ParseCommandLine()) << commandLine;
  return app;
}

void StartMenuTest::SetProgramsDirectory(const std::string& directory) {
  WriteText(platform.registry, kHkeyCurrentUser,
            "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Programs", directory);
}

namespace {

// Relative to the drives' folder; on Windows in upper case, as names there
// match without regard to case (Wine names its "C:\Users" folder "users").
std::string RelativeEntry(const std::filesystem::path& path, const std::filesystem::path& root) {
  std::string entry = path.lexically_relative(root).string();
  if (!kPortablePlatform) {
    for (char& c : entry) c = UpperAscii(c);
  }
  return entry;
}

}  // namespace

std::set<std::string> StartMenuTest::DiskContents() const {
  namespace fs = std::filesystem;
  std::set<std::string> contents;
  const fs::path& root = platform.drives.Path();
  std::error_code error;
  for (fs::recursive_directory_iterator entry(root, error), end; !error && entry != end; entry.increment(error)) {
    const std::string relative = RelativeEntry(entry->path(), root);
    contents.insert(relative);
    // On a real system drive C: also holds the system itself: thousands of
    // files that no test writes and that would make every listing slow.
    if (!kPortablePlatform && relative == "WINDOWS") entry.disable_recursion_pending();
  }
  EXPECT_FALSE(error) << error.message();
  return contents;
}

bool SymbolicLinksWork() {
  static const bool work = [] {
    TempFolder folder;
    std::error_code error;
    std::filesystem::create_symlink(folder.Path() / "target", folder.Path() / "link", error);
    return !error;
  }();
  return work;
}

std::string StartMenuTest::ContentsEntry(const std::string& windowsPath) const {
  return RelativeEntry(platform.Host(windowsPath), platform.drives.Path());
}

void StartMenuTest::Link(const std::string& windowsPath, const std::filesystem::path& target, bool toFolder) {
  const auto host = platform.Host(windowsPath);
  std::filesystem::create_directories(host.parent_path());
  if (toFolder) {
    std::filesystem::create_directory_symlink(target, host);
  } else {
    std::filesystem::create_symlink(target, host);
  }
}

void StartMenuTest::MakeReadOnly(const std::string& windowsPath) {
  std::filesystem::permissions(platform.Host(windowsPath),
                               std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                   std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove);
}

}  // namespace tw::test
