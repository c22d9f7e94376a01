#include "tests/support/start_menu_test.h"

#include "tests/support/registry_probe.h"

namespace tw::test {

StartMenuTest::StartMenuTest() { SetProgramsDirectory(kPrograms); }

std::unique_ptr<UninstallApp> StartMenuTest::MakeApp(const std::string& commandLine) {
  Platform view = platform.View();
  Platform watchedView{view.registry, watched, view.processes, view.messages, view.links, view.engine, view.codePage};
  auto app = std::make_unique<UninstallApp>(watchedView, commandLine, TestPlatform::kInstance);
  EXPECT_TRUE(app->ParseCommandLine()) << commandLine;
  return app;
}

void StartMenuTest::SetProgramsDirectory(const std::string& directory) {
  WriteText(platform.registry, kHkeyCurrentUser,
            "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Programs", directory);
}

std::set<std::string> StartMenuTest::DiskContents() const {
  std::set<std::string> contents;
  const std::filesystem::path& root = platform.drives.Path();
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    contents.insert(entry.path().lexically_relative(root).string());
  }
  return contents;
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
