// The last product of a language gives back its start-menu entries before
// the language key that records them goes.
#include <gtest/gtest.h>

#include "tests/support/registry_probe.h"
#include "tests/support/start_menu_test.h"

namespace tw::test {
namespace {

const std::string kLanguage = Family("Install\\Languages\\EN_US");
const std::string kFolder = std::string("C:\\users\\Ann\\Start Menu\\Programs") + "\\Talkwise Dictation";

class InstallLanguageReleaseTest : public StartMenuTest {
 protected:
  // ProdTWD lists Install and Dictation; a third shortcut, of the unlisted
  // Enroll component, is added where a case needs it.
  void Install(std::uint32_t languageUsers, bool withUnlistedShortcut) {
    WriteDword(platform.registry, kHkeyLocalMachine, kLanguage, "UsageCtr", languageUsers);
    WriteText(platform.registry, kHkeyLocalMachine, kLanguage, "ProdTWDList", "Install Dictation");
    WriteText(platform.registry, kHkeyLocalMachine, kLanguage, "ProdTWDFolder", "Talkwise Dictation");
    std::vector<std::pair<const char*, const char*>> shortcuts = {{"Begin Here", "Install"}, {"Dictate", "Dictation"}};
    if (withUnlistedShortcut) shortcuts.push_back({"Train", "Enroll"});
    for (const auto& [name, component] : shortcuts) {
      WriteText(platform.registry, kHkeyLocalMachine, kLanguage + "\\ProdTWDObjs", name, component);
      WriteDword(platform.registry, kHkeyLocalMachine, kLanguage + "\\Folders\\Talkwise Dictation", name, 1);
      platform.WriteFile(kFolder + "\\" + name + ".lnk");
    }
  }

  void ReleaseLanguages() {
    auto app = MakeApp("ProdTWD D en_us C:\\u.exe log");
    app->BuildComponentList();
    app->ReleaseComponentLanguages();
    EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
    EXPECT_EQ(watched.OpenSearchCount(), 0u);
  }
};

TEST_F(InstallLanguageReleaseTest, FreedProgramFolderGoesThenTheLanguageKey) {
  Install(1, false);
  ReleaseLanguages();
  EXPECT_FALSE(platform.Exists(kFolder));
  EXPECT_FALSE(KeyExists(platform.registry, kHkeyLocalMachine, kLanguage));
}

TEST_F(InstallLanguageReleaseTest, FolderStillInUseKeepsItsOtherShortcuts) {
  Install(1, true);
  ReleaseLanguages();
  EXPECT_FALSE(platform.Exists(kFolder + "\\Dictate.lnk"));
  EXPECT_FALSE(platform.Exists(kFolder + "\\Begin Here.lnk"));
  EXPECT_TRUE(platform.Exists(kFolder + "\\Train.lnk"));
  EXPECT_FALSE(KeyExists(platform.registry, kHkeyLocalMachine, kLanguage));
}

TEST_F(InstallLanguageReleaseTest, SharedLanguageLeavesTheStartMenuAlone) {
  Install(2, false);
  const auto before = DiskContents();
  ReleaseLanguages();
  EXPECT_EQ(DiskContents(), before);
  EXPECT_EQ(DwordValue(platform.registry, kHkeyLocalMachine, kLanguage, "UsageCtr"), 1u);
  EXPECT_TRUE(KeyExists(platform.registry, kHkeyLocalMachine, kLanguage + "\\ProdTWDObjs"));
}

}  // namespace
}  // namespace tw::test
