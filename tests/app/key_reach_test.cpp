// What a preview reads from the machine is the list of key trees beside the
// layout's names: every key a removal reaches must lie in one of them, or the
// preview, which finds nothing elsewhere, reports less than the run does.
#include <gtest/gtest.h>

#include <string>

#include "platform/memory/folded_name.h"
#include "app/every_user.h"
#include "registry/layout.h"
#include "tests/support/other_users.h"
#include "tests/support/reached_keys.h"
#include "tests/support/test_platform.h"
#include "tests/support/typical_install.h"

namespace tw::test {
namespace {

// Whether below is at or below above ("" the root itself).
bool AtOrBelow(const std::string& below, const std::string& above) {
  return above.empty() || (below.compare(0, above.size(), above) == 0 &&
                           (below.size() == above.size() || below[above.size()] == '\\'));
}

// In a listed tree; or only opened on the way to one, as the paths are
// opened a key at a time and the preview holds the keys above its trees.
bool InListedTree(const ReachedKey& key, const CodePage& codePage, const std::vector<KeyTree>& trees) {
  const std::string path = FoldedName(key.path, codePage);
  for (const KeyTree& tree : trees) {
    const std::string top = FoldedName(tree.path, codePage);
    if (key.root == tree.root && (AtOrBelow(path, top) || (key.opened && AtOrBelow(top, path)))) return true;
  }
  return false;
}

std::string RootName(RegKey root) {
  if (root == kHkeyLocalMachine) return "HKEY_LOCAL_MACHINE";
  if (root == kHkeyCurrentUser) return "HKEY_CURRENT_USER";
  if (root == kHkeyUsers) return "HKEY_USERS";
  return "root " + std::to_string(root);
}

constexpr const char* kLoggedRemoval = "/quiet /log:C:\\run.log ProdTWDLite D en_us C:\\Uninst\\uninst.exe x.log";

constexpr const char* kEveryUserRemoval =
    "/quiet /allusers /log:C:\\run.log ProdTWDLite D en_us C:\\Uninst\\uninst.exe x.log";

// Logged, so that the change log's reads count too. A run of another kind
// adds its row here and its trees to the layout's lists.
struct ReachCase {
  const char* name;
  bool lastProduct;
  bool repeated;  // run once before the run recorded: what a finished removal reads
  bool otherUsers;  // one logged on, one whose hive the run loads
  const char* commandLine;
};

const ReachCase kReachCases[] = {
    {"a shared release", false, false, false, kLoggedRemoval},
    {"a full removal", true, false, false, kLoggedRemoval},
    {"a repeated full removal", true, true, false, kLoggedRemoval},
    {"an every-user shared release", false, false, true, kEveryUserRemoval},
    {"an every-user full removal", true, false, true, kEveryUserRemoval},
};

TEST(KeyReachTest, EveryKeyARemovalReachesLiesInAListedTree) {
  for (const ReachCase& run : kReachCases) {
    SCOPED_TRACE(run.name);
    if (run.otherUsers && !kPortablePlatform) continue;  // hives below HKEY_USERS: portable only
    TestPlatform platform;
    InstallTypicalRun(platform, run.lastProduct);
    if (run.otherUsers) {
      AddOtherUser(platform, kBob);
      AddOtherUser(platform, kCarol);
    }
    const std::vector<KeyTree> trees = RemovalKeyTrees(platform.registry);
    if (run.repeated) {
      ASSERT_EQ(platform.RunProgram(run.commandLine), 0);
    }
    ReachRecordingRegistry recorder(platform.registry);
    ASSERT_EQ(platform.RunProgram(run.commandLine, recorder), 0);
    ASSERT_FALSE(recorder.Reached().empty());
    for (const ReachedKey& key : recorder.Reached()) {
      EXPECT_TRUE(InListedTree(key, platform.codePage, trees)) << RootName(key.root) << "\\" << key.path;
    }
  }
}

}  // namespace
}  // namespace tw::test
