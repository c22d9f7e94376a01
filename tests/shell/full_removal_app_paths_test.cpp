// A whole run of the family's last product, as far as application paths go.
#include <gtest/gtest.h>

#include "tests/support/registry_probe.h"
#include "tests/support/test_platform.h"

namespace tw::test {
namespace {

TEST(FullRemovalRunTest, DeletesTheRegistrationsThatPointedAtTheEngine) {
  TestPlatform platform;
  platform.LoadFixture("app_paths.reg");
  WriteDword(platform.registry, kHkeyLocalMachine, Family("Install\\Counters"), "ProductCtr", 1);
  const std::string appPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
  WriteText(platform.registry, kHkeyLocalMachine, appPaths + "quickcmd.exe", "Path", "D:\\Elsewhere");
  platform.Run("ProdTWC C en_us C:\\Uninst\\uninst.exe C:\\Uninst\\install.log");

  for (const char* executable : {"speakfit.exe", "recogsrv.exe", "notepane.exe", "twvocab.exe"}) {
    EXPECT_FALSE(KeyExists(platform.registry, kHkeyLocalMachine, appPaths + executable)) << executable;
  }
  for (const char* executable : {"quickcmd.exe", "other.exe", "speakfit.exe.bak", "editor.exe"}) {
    EXPECT_TRUE(KeyExists(platform.registry, kHkeyLocalMachine, appPaths + executable)) << executable;
  }
  // The engine directory was still there to compare with; the family's tree is gone now.
  EXPECT_FALSE(KeyExists(platform.registry, kHkeyLocalMachine, Family("Engine")));
  EXPECT_EQ(platform.processes.started.size(), 1u);
}

}  // namespace
}  // namespace tw::test
