// The two races between a check and its use that only Windows can show
// (Wine renames no folder above one held open), played in the portable
// model at the moment between the check and the use, on the typical run:
// ProdTWDLite removed for EN_US while ProdTWC stays.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "tests/support/start_menu_test.h"
#include "tests/support/test_platform.h"

namespace tw::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kFolder = "C:\\Start Menu\\Programs\\Talkwise";
constexpr const char* kPrecious = "C:\\Precious";
constexpr const char* kRun = "ProdTWDLite D en_us C:\\Uninst\\uninst.exe C:\\Uninst\\install.log";

class CheckAndUseRaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform.LoadFixture("typical_run.reg");
    for (const char* shortcut : {"Begin Here", "General Reference", "Dictation", "Control Panel"}) {
      platform.WriteFile(std::string(kFolder) + "\\" + shortcut + ".lnk", "installed");
    }
    // What the user would have the elevated run write or delete: files of
    // the shortcuts' names in a folder the user cannot change.
    for (const char* shortcut : {"Begin Here", "General Reference", "Dictation"}) {
      platform.WriteFile(std::string(kPrecious) + "\\" + shortcut + ".lnk", "precious");
    }
  }
  // Every file below the precious folder with its content.
  std::map<std::string, std::string> Precious() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(platform.Host(kPrecious))) {
      const std::string name = entry.path().filename().string();
      files[name] = platform.ReadFile(std::string(kPrecious) + "\\" + name);
    }
    return files;
  }

  TestPlatform platform;
};

// The swap checks the program folder for links once, then saves each
// shortcut: the user renames the folder away and puts a link to the
// precious folder in its place between the two saves. The second save, and
// the deletes of the release that follows, go nowhere.
TEST_F(CheckAndUseRaceTest, AFolderSwappedForALinkBetweenTwoSavesReceivesNothing) {
  TW_NEEDS_SYMBOLIC_LINKS();
  const auto before = Precious();
  platform.links.beforeSave = [this](const std::string&) {
    if (platform.links.updates.size() != 2) return;
    fs::rename(platform.Host(kFolder), platform.Host(std::string(kFolder) + " moved"));
    fs::create_directory_symlink(platform.Host(kPrecious), platform.Host(kFolder));
  };
  platform.Run(kRun);

  ASSERT_EQ(platform.links.updates.size(), 2u);  // the link was in place for the second save
  EXPECT_EQ(platform.links.shortcuts.count(platform.links.updates[0].linkPath), 1u);
  EXPECT_EQ(platform.links.shortcuts.count(platform.links.updates[1].linkPath), 0u);
  EXPECT_EQ(Precious(), before);
  // The rest of the run goes on: the real uninstaller starts.
  EXPECT_EQ(platform.processes.started.size(), 1u);
}

// The engine library is checked, then loaded: the user renames its Bin
// folder away and puts a Bin of his own, with his library, in its place in
// between. What is loaded is what was checked.
TEST_F(CheckAndUseRaceTest, ABinFolderRenamedAwayBetweenCheckAndLoadLoadsTheCheckedLibrary) {
  if (!kPortablePlatform) GTEST_SKIP() << "the Win32 layer's own: tests/win32/speech_engine_test";
  const std::string library = "C:\\Engine\\Bin\\spchcfg.cpl";
  platform.WriteFile(library, "checked library");
  platform.engine.library = platform.Host(library);
  platform.engine.betweenCheckAndLoad = [this, library] {
    fs::rename(platform.Host("C:\\Engine\\Bin"), platform.Host("C:\\Engine\\Moved"));
    platform.WriteFile(library, "planted library");
  };
  platform.Run(kRun);

  EXPECT_EQ(platform.ReadFile(library), "planted library");  // the rename took place
  EXPECT_EQ(platform.engine.loaded, "checked library");
  ASSERT_EQ(platform.engine.calls.size(), 1u);
  EXPECT_EQ(platform.engine.calls[0].languageCode, "EN_US");
}

}  // namespace
}  // namespace tw::test
