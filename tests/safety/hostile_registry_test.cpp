// Registry links and names holding a NUL, planted where the uninstaller
// deletes: the link's target outside the family's tree stays, the run goes on
// to the real uninstaller, and the legitimate work is done.
#include <gtest/gtest.h>

#include <functional>

#include "tests/support/hostile_planting.h"
#include "tests/support/registry_probe.h"
#include "tests/support/test_platform.h"

namespace tw::test {
namespace {

constexpr const char* kFullRemoval = "ProdTWC C en_us C:\\u.exe log";
constexpr const char* kSharedRelease = "ProdTWDLite D en_us C:\\u.exe log";
constexpr const char* kFolder = "C:\\users\\Me\\Start Menu\\Programs\\Talkwise";
const std::string kNul(1, '\0');

// Runs the planting on an opened root\path, which is created when missing.
void WithKey(TestPlatform& platform, RegKey root, const std::string& path, const std::function<Status(RegKey)>& plant) {
  RegKey key = 0;
  ASSERT_EQ(platform.registry.CreateKey(root, path.c_str(), &key), kErrorSuccess) << path;
  EXPECT_EQ(plant(key), kErrorSuccess) << path;
  platform.registry.CloseKey(key);
}

void LinkToVictim(TestPlatform& platform, RegKey root, const std::string& parent, const std::string& name) {
  WithKey(platform, root, parent,
          [&](RegKey key) { return platform.registry.CreateLink(key, name, kHkeyLocalMachine, kLinkVictim); });
}

bool LinkExists(TestPlatform& platform, RegKey root, const std::string& path) {
  RegKey key = 0;
  if (platform.registry.OpenKey(root, path.c_str(), kKeyRead | kKeyOpenLink, &key) != kErrorSuccess) return false;
  platform.registry.CloseKey(key);
  return true;
}

struct HostileCase {
  const char* label;
  const char* commandLine;
  // Needs the portable registry: subkeys with a NUL could not be cleared from
  // the system's, and a race needs the hook between calls.
  bool portableOnly;
  std::function<void(TestPlatform&)> plant;
  std::function<void(TestPlatform&)> check;  // besides the victim and the uninstaller's start
};

void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.label; }

class HostileRegistryTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileRegistryTest, LeavesTheTargetAndFinishesTheRun) {
  const HostileCase& c = GetParam();
  if (c.portableOnly) TW_PORTABLE_ONLY();
  TestPlatform platform;
  platform.LoadFixture("family_installed.reg");
  if (std::string(c.commandLine) == kFullRemoval) {
    // The last product: its counter and the registrations agree.
    platform.LoadRegText("REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Talkwise\\Install\\Counters]\n"
                         "\"ProductCtr\"=dword:00000001\n"
                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Talkwise\\Install\\Languages\\EN_US]\n"
                         "\"ProdTWDLiteCtr\"=-\n"
                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Talkwise\\Install\\Languages\\DE_DE]\n"
                         "\"ProdTWDCtr\"=-\n");
  }
  WriteText(platform.registry, kHkeyLocalMachine, kLinkVictim, "Keep", "yes");
  WriteText(platform.registry, kHkeyLocalMachine, kLinkVictim, "Path", "C:\\Program Files\\Talkwise\\Bin");
  c.plant(platform);
  platform.Run(c.commandLine);
  EXPECT_EQ(TextValue(platform.registry, kHkeyLocalMachine, kLinkVictim, "Keep"), "yes");
  ASSERT_EQ(platform.processes.started.size(), 1u);
  EXPECT_EQ(platform.processes.started[0].commandLine, "C:\\u.exe -y log");
  c.check(platform);
}

const std::string kScheme = "AppEvents\\Schemes\\Apps\\Talkwise\\Start Dictation US";
const std::string kLabels = "AppEvents\\EventLabels";
const std::string kAppPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const std::string kHelp = "SOFTWARE\\Microsoft\\Windows\\Help";
const std::string kObjs = Family("Install\\Languages\\EN_US\\ProdTWDLiteObjs");
const std::string kLabel = kLabels + "\\Start Dictation US";

// The user's label key holds A, with many subkeys, and Z. Once the run has
// begun to delete A's subkeys, his process renames the label key aside and
// puts a link to the victim in its place; the victim has a Z of its own.
void SwapLabelForALinkDuringTheWalk(TestPlatform& p) {
  for (int i = 0; i < 40; ++i) WriteText(p.registry, kHkeyCurrentUser, kLabel + "\\A\\" + std::to_string(i), "", "x");
  WriteText(p.registry, kHkeyCurrentUser, kLabel + "\\Z", "", "z");
  WriteText(p.registry, kHkeyLocalMachine, std::string(kLinkVictim) + "\\Z", "Keep", "yes");
  p.registry.SetBetweenCalls([&p, swapped = false]() mutable {
    if (swapped || KeyExists(p.registry, kHkeyCurrentUser, kLabel + "\\A\\0")) return;
    swapped = true;
    WithKey(p, kHkeyCurrentUser, kLabels,
            [&](RegKey key) { return p.registry.RenameKey(key, "Start Dictation US", "Start Dictation US aside"); });
    LinkToVictim(p, kHkeyCurrentUser, kLabels, "Start Dictation US");
  });
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostileRegistryTest,
    ::testing::Values(
        HostileCase{"link_in_a_component_tree", kFullRemoval, false,
                    [](TestPlatform& p) { LinkToVictim(p, kHkeyLocalMachine, Family("Audio"), "Link"); },
                    [](TestPlatform& p) {
                      EXPECT_FALSE(LinkExists(p, kHkeyLocalMachine, Family("Audio")));
                    }},
        HostileCase{"link_below_a_sound_event", kFullRemoval, false,
                    [](TestPlatform& p) { LinkToVictim(p, kHkeyCurrentUser, kScheme, "Link"); },
                    [](TestPlatform& p) { EXPECT_FALSE(LinkExists(p, kHkeyCurrentUser, kScheme)); }},
        HostileCase{"sound_event_label_swapped_for_a_link_during_the_walk", kFullRemoval, true,
                    SwapLabelForALinkDuringTheWalk,
                    [](TestPlatform& p) {
                      EXPECT_TRUE(LinkExists(p, kHkeyCurrentUser, kLabel));
                      EXPECT_EQ(TextValue(p.registry, kHkeyLocalMachine, std::string(kLinkVictim) + "\\Z", "Keep"), "yes");
                    }},
        HostileCase{"link_in_place_of_a_sound_event_label", kFullRemoval, false,
                    [](TestPlatform& p) {
                      WithKey(p, kHkeyCurrentUser, kLabels,
                              [&](RegKey key) { return p.registry.DeleteKey(key, "Start Dictation US"); });
                      LinkToVictim(p, kHkeyCurrentUser, kLabels, "Start Dictation US");
                    },
                    [](TestPlatform& p) {
                      EXPECT_TRUE(LinkExists(p, kHkeyCurrentUser, kLabels + "\\Start Dictation US"));
                      EXPECT_FALSE(KeyExists(p.registry, kHkeyCurrentUser, kLabels + "\\Stop Dictation US"));
                    }},
        // The target's "Path" is the engine directory: followed, it would pass for the family's.
        HostileCase{"link_in_place_of_an_application_path", kFullRemoval, false,
                    [](TestPlatform& p) {
                      WithKey(p, kHkeyLocalMachine, kAppPaths,
                              [&](RegKey key) { return p.registry.DeleteKey(key, "speakfit.exe"); });
                      LinkToVictim(p, kHkeyLocalMachine, kAppPaths, "speakfit.exe");
                    },
                    [](TestPlatform& p) {
                      EXPECT_TRUE(LinkExists(p, kHkeyLocalMachine, kAppPaths + "\\speakfit.exe"));
                      EXPECT_FALSE(KeyExists(p.registry, kHkeyLocalMachine, kAppPaths + "\\recogsrv.exe"));
                    }},
        HostileCase{"nul_named_help_registration", kFullRemoval, false,
                    [](TestPlatform& p) {
                      WriteText(p.registry, kHkeyLocalMachine, kHelp, "foreign.hlp", "C:\\Other");
                      const std::string family = "C:\\Program Files\\Talkwise\\Help";
                      WithKey(p, kHkeyLocalMachine, kHelp, [&](RegKey key) {
                        return p.registry.SetValueNamed(key, "foreign.hlp" + kNul + "x", kRegSz,
                                                        std::vector<std::uint8_t>(family.begin(), family.end()));
                      });
                    },
                    [](TestPlatform& p) {
                      EXPECT_EQ(TextValue(p.registry, kHkeyLocalMachine, kHelp, "foreign.hlp"), "C:\\Other");
                      EXPECT_FALSE(TextValue(p.registry, kHkeyLocalMachine, kHelp, "diktatde.hlp").has_value());
                    }},
        HostileCase{"nul_named_subkeys_in_a_component_tree", kFullRemoval, true,
                    [](TestPlatform& p) {
                      for (const std::string& name : {kNul, "Languages" + kNul + "x"}) {
                        WithKey(p, kHkeyLocalMachine, Family("Dictation"),
                                [&](RegKey key) { return p.registry.CreateKeyNamed(key, name); });
                      }
                    },
                    [](TestPlatform& p) {
                      EXPECT_TRUE(KeyExists(p.registry, kHkeyLocalMachine, Family("Dictation")));
                      EXPECT_FALSE(KeyExists(p.registry, kHkeyLocalMachine, Family("Dictation\\Languages")));
                      EXPECT_FALSE(KeyExists(p.registry, kHkeyLocalMachine, Family("Control")));
                    }},
        HostileCase{"nul_named_shortcut", kSharedRelease, false,
                    [](TestPlatform& p) {
                      p.WriteFile(std::string(kFolder) + "\\Begin Here");
                      p.WriteFile(std::string(kFolder) + "\\Dictation.lnk");
                      WithKey(p, kHkeyLocalMachine, kObjs, [&](RegKey key) {
                        return p.registry.SetValueNamed(key, "Begin Here" + kNul + "x", kRegSz, {'H', 'e', 'l', 'p', 0});
                      });
                    },
                    [](TestPlatform& p) {
                      const std::string counters = Family("Install\\Languages\\EN_US\\Folders\\Talkwise");
                      EXPECT_EQ(DwordValue(p.registry, kHkeyLocalMachine, counters, "Begin Here"), 1u);
                      EXPECT_TRUE(p.Exists(std::string(kFolder) + "\\Begin Here"));
                      EXPECT_FALSE(p.Exists(std::string(kFolder) + "\\Dictation.lnk"));
                    }}),
    [](const ::testing::TestParamInfo<HostileCase>& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace tw::test
