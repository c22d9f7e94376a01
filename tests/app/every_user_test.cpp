// Every user's part: run with /allusers or as LocalSystem, each other user's
// shortcuts, program folder and sound events are released where they are,
// as that user's own removal would have released them, hives loaded for the
// run and unloaded after; nothing of one user's is changed through what lies
// outside his own profile.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/every_user.h"
#include "app/unattended_options.h"
#include "registry/layout.h"
#include "tests/support/other_users.h"
#include "tests/support/portable/reg_file.h"
#include "tests/support/registry_probe.h"
#include "tests/support/test_platform.h"
#include "tests/support/typical_install.h"

namespace tw::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kOwnPrograms = "C:\\Start Menu\\Programs";
constexpr const char* kRemoval = "ProdTWDLite D en_us C:\\Uninst\\uninst.exe x.log";

std::string Logged(const std::string& switches) { return switches + " /log:C:\\run.log " + kRemoval; }

// The files and folders below a Windows folder, relative and sorted.
std::vector<std::string> Listing(TestPlatform& platform, const std::string& folder) {
  std::vector<std::string> names;
  if (!platform.Exists(folder)) return names;
  const fs::path top = platform.Host(folder);
  for (const auto& entry : fs::recursive_directory_iterator(top)) names.push_back(entry.path().lexically_relative(top).string());
  std::sort(names.begin(), names.end());
  return names;
}

// The sound events of a hive as .reg text, its root's name taken out.
std::string SoundEvents(TestPlatform& platform, const std::string& hive) {
  std::string text = ExportRegText(platform.registry, {hive + "\\AppEvents"});
  for (std::size_t at; (at = text.find("[" + hive + "\\")) != std::string::npos;) text.replace(at + 1, hive.size(), "HIVE");
  return text;
}

// The shortcut updates made below a programs directory, the directory taken out.
std::vector<std::string> Updates(const TestPlatform& platform, const std::string& programs) {
  std::vector<std::string> updates;
  for (const auto& update : platform.links.updates) {
    if (update.linkPath.rfind(programs + "\\", 0) != 0) continue;
    updates.push_back(update.linkPath.substr(programs.size()) + " -> " + update.targetPath + " in " +
                      update.workingDirectory);
  }
  return updates;
}

bool HiveFileStored(TestPlatform& platform, const OtherUser& user) {
  if (platform.registry.LoadHive("probe", user.HiveFile().c_str()) != kErrorSuccess) return false;
  return platform.registry.StoreHiveFile("probe", user.HiveFile()) == kErrorSuccess;
}

// What the running user's part alone comes to, as the other users' must.
struct OwnPart {
  std::vector<std::string> files;
  std::string events;
  std::vector<std::string> updates;
};

OwnPart RunAlone(bool lastProduct) {
  TestPlatform alone;
  InstallTypicalRun(alone, lastProduct);
  EXPECT_EQ(alone.RunProgram("/quiet " + std::string(kRemoval)), 0);
  return {Listing(alone, kOwnPrograms), SoundEvents(alone, "HKEY_CURRENT_USER"), Updates(alone, kOwnPrograms)};
}

void Install(TestPlatform& platform, bool lastProduct) {
  InstallTypicalRun(platform, lastProduct);
  AddOtherUser(platform, kBob);
  AddOtherUser(platform, kCarol);
}

// Whether the user's part is as the running user's alone came to.
void ExpectReleasedAsAlone(TestPlatform& platform, const OtherUser& user, const OwnPart& own) {
  SCOPED_TRACE(user.sid);
  EXPECT_EQ(Listing(platform, user.ProgramsDirectory()), own.files);
  EXPECT_EQ(Updates(platform, user.ProgramsDirectory()), own.updates);
  WithUserHive(platform, user, [&](TestPlatform& p) { EXPECT_EQ(SoundEvents(p, "HKEY_USERS\\" + user.sid), own.events); });
}

void ExpectUntouched(TestPlatform& platform, const OtherUser& user) {
  SCOPED_TRACE(user.sid);
  EXPECT_EQ(Listing(platform, user.ProgramsDirectory()),
            (std::vector<std::string>{"Talkwise", "Talkwise/Begin Here.lnk", "Talkwise/Dictation.lnk",
                                      "Talkwise/General Reference.lnk"}));
  EXPECT_TRUE(Updates(platform, user.ProgramsDirectory()).empty());
  WithUserHive(platform, user, [&](TestPlatform& p) {
    EXPECT_TRUE(KeyExists(p.registry, kHkeyUsers, UserKey(user, "AppEvents\\EventLabels\\Start Dictation US")));
  });
}

bool Logs(TestPlatform& platform, const std::string& line) {
  const std::string log = platform.ReadFile("C:\\run.log");
  const bool found = log.find(line) != std::string::npos;
  EXPECT_TRUE(found) << "no line \"" << line << "\" in\n" << log;
  return found;
}

TEST(EveryUserTest, TheSwitchIsReadLikeTheOthers) {
  EXPECT_TRUE(ParseUnattendedOptions("/AllUsers /qn ProdTWC C").allUsers);
  EXPECT_TRUE(ParseUnattendedOptions("\"/allusers\" ProdTWC C").allUsers);
  EXPECT_FALSE(ParseUnattendedOptions("/quiet ProdTWC C /allusers").allUsers);
  EXPECT_TRUE(IsOrdinaryUserSid("S-1-5-21-3623811015-3361044348-30300820-1013"));
  EXPECT_TRUE(IsOrdinaryUserSid("S-1-12-1-1-2-3-4"));
  for (const char* other : {"S-1-5-18", "S-1-5-19", "S-1-5-20", "S-1-5-21-", "S-1-5-21-1--2", "S-1-5-21-1\\..\\x",
                            "S-1-5-21-1-1000.bak", "s-1-5-21-1-1000"}) {
    EXPECT_FALSE(IsOrdinaryUserSid(other)) << other;
  }
}

TEST(EveryUserTest, EachUsersPartIsReleasedAsHisOwnRemovalWouldAndHivesAreUnloadedAfter) {
  TW_PORTABLE_ONLY();
  for (const bool lastProduct : {false, true}) {
    SCOPED_TRACE(lastProduct ? "a full removal" : "a shared release");
    const OwnPart own = RunAlone(lastProduct);
    ASSERT_NE(own.files.size(), 4u) << "the running user's part alone changes something";
    TestPlatform platform;
    Install(platform, lastProduct);
    ASSERT_EQ(platform.RunProgram(Logged("/quiet /allusers")), 0);
    EXPECT_EQ(Listing(platform, kOwnPrograms), own.files);
    ExpectReleasedAsAlone(platform, kBob, own);
    ExpectReleasedAsAlone(platform, kCarol, own);
    // Carol's hive went back to its file: loadable again, no key of the run's left.
    EXPECT_TRUE(HiveFileStored(platform, kCarol));
    EXPECT_FALSE(KeyExists(platform.registry, kHkeyUsers, LoadedHiveKey(kCarol.sid)));
    Logs(platform, "user S-1-5-21-7-7-7-1001: visited in HKEY_USERS\\S-1-5-21-7-7-7-1001 (logged on)");
    Logs(platform, "user S-1-5-21-7-7-7-1002: visited, its hive C:\\Users\\carol\\NTUSER.DAT loaded as "
                   "HKEY_USERS\\twuninst_S-1-5-21-7-7-7-1002");
    Logs(platform, "users: 2 other user(s) visited, 0 passed over");
  }
}

TEST(EveryUserTest, AsLocalSystemEveryUserIsVisitedWithoutTheSwitchAndOtherwiseOnlyWithIt) {
  TW_PORTABLE_ONLY();
  const OwnPart own = RunAlone(false);
  {
    SCOPED_TRACE("an administrator without the switch");
    TestPlatform platform;
    Install(platform, false);
    ASSERT_EQ(platform.RunProgram(Logged("/quiet")), 0);
    EXPECT_EQ(Listing(platform, kOwnPrograms), own.files);
    ExpectUntouched(platform, kBob);
    ExpectUntouched(platform, kCarol);
    EXPECT_TRUE(HiveFileStored(platform, kCarol));
    EXPECT_EQ(platform.ReadFile("C:\\run.log").find("user S-"), std::string::npos);
  }
  for (const char* commandLine : {"", "/quiet /log:C:\\run.log "}) {
    SCOPED_TRACE(std::string("LocalSystem, switches: ") + commandLine);
    TestPlatform platform;
    Install(platform, false);
    platform.user.sid = kLocalSystemSid;
    ASSERT_EQ(platform.RunProgram(commandLine + std::string(kRemoval)), 0);
    ExpectReleasedAsAlone(platform, kBob, own);
    ExpectReleasedAsAlone(platform, kCarol, own);
    EXPECT_TRUE(HiveFileStored(platform, kCarol));
    if (*commandLine != '\0') Logs(platform, "account: SYSTEM; every user's shortcuts");
  }
}

// A hive in use or missing is named and passed over; the run ends 0 with
// everything it could reach done. One a run cut short left loaded is used
// and unloaded.
TEST(EveryUserTest, AHiveThatCannotBeLoadedIsPassedOverAndOneLeftLoadedIsUnloaded) {
  TW_PORTABLE_ONLY();
  const OwnPart own = RunAlone(false);
  const OtherUser dave{"S-1-5-21-7-7-7-1003", "C:\\Users\\dave", false};
  {
    TestPlatform platform;
    Install(platform, false);
    AddOtherUser(platform, dave);
    // Dave's file loaded elsewhere (in use); carol's profile has no hive file at all.
    ASSERT_EQ(platform.registry.LoadHive("elsewhere", dave.HiveFile().c_str()), kErrorSuccess);
    WriteText(platform.registry, kHkeyLocalMachine, std::string(layout::kProfileList) + "\\S-1-5-21-7-7-7-1004",
              "ProfileImagePath", "C:\\Users\\erin");
    platform.user.profiles["S-1-5-21-7-7-7-1004"] = "C:\\Users\\erin";
    platform.MakeFolder("C:\\Users\\erin");
    ASSERT_EQ(platform.RunProgram(Logged("/quiet /allusers")), 0);
    ExpectReleasedAsAlone(platform, kBob, own);
    ExpectReleasedAsAlone(platform, kCarol, own);
    Logs(platform, "user S-1-5-21-7-7-7-1003: passed over: its hive C:\\Users\\dave\\NTUSER.DAT cannot be loaded "
                   "(error 32)");
    Logs(platform, "user S-1-5-21-7-7-7-1004: passed over: its hive C:\\Users\\erin\\NTUSER.DAT cannot be loaded "
                   "(error 2)");
    Logs(platform, "users: 2 other user(s) visited, 2 passed over");
    EXPECT_EQ(Listing(platform, dave.ProgramsDirectory()).size(), 4u);
  }
  {
    TestPlatform platform;
    Install(platform, false);
    ASSERT_EQ(platform.registry.LoadHive(LoadedHiveKey(kCarol.sid).c_str(), kCarol.HiveFile().c_str()), kErrorSuccess);
    ASSERT_EQ(platform.RunProgram(Logged("/quiet /allusers")), 0);
    Logs(platform, "user S-1-5-21-7-7-7-1002: visited in HKEY_USERS\\twuninst_S-1-5-21-7-7-7-1002, left loaded by a "
                   "removal cut short");
    ExpectReleasedAsAlone(platform, kCarol, own);
    EXPECT_FALSE(KeyExists(platform.registry, kHkeyUsers, LoadedHiveKey(kCarol.sid)));
  }
}

// The load follows links, and a user can plant one where his hive file is:
// a hive file that is not a file of his own there is not loaded (a link, a
// second name), nor one a link took the
// place of between the check and the load; a hive a run cut short left
// loaded whose file is such a one now is unloaded unused.
TEST(EveryUserTest, AHiveFileThatIsNotAFileOfItsOwnThereIsNotLoaded) {
  TW_PORTABLE_ONLY();
  const std::string elsewhere = "C:\\Elsewhere\\NTUSER.DAT";
  struct Plant {
    const char* name;
    bool leftLoaded;
    void (*plant)(TestPlatform&, const fs::path& carolHive, const fs::path& elsewhere);
  };
  const Plant plants[] = {
      {"a link to another file", false,
       [](TestPlatform&, const fs::path& hive, const fs::path& other) {
         fs::remove(hive);
         fs::create_symlink(other, hive);
       }},
      {"a second name", false, [](TestPlatform&, const fs::path& hive, const fs::path& other) {
         fs::remove(other);
         fs::create_hard_link(hive, other);
       }},
      {"a link, the hive left loaded", true, [](TestPlatform&, const fs::path& hive, const fs::path& other) {
         fs::remove(hive);
         fs::create_symlink(other, hive);
       }},
  };
  for (const Plant& plant : plants) {
    SCOPED_TRACE(plant.name);
    TestPlatform platform;
    Install(platform, false);
    platform.WriteFile(elsewhere, "another hive");
    if (plant.leftLoaded) {
      ASSERT_EQ(platform.registry.LoadHive(LoadedHiveKey(kCarol.sid).c_str(), kCarol.HiveFile().c_str()), kErrorSuccess);
    }
    plant.plant(platform, platform.Host(kCarol.HiveFile()), platform.Host(elsewhere));
    const std::string other = platform.ReadFile(elsewhere);
    ASSERT_EQ(platform.RunProgram(Logged("/quiet /allusers")), 0);
    ExpectUntouched(platform, kCarol);
    EXPECT_FALSE(KeyExists(platform.registry, kHkeyUsers, LoadedHiveKey(kCarol.sid)));
    EXPECT_EQ(platform.ReadFile(elsewhere), other);
    Logs(platform, "user S-1-5-21-7-7-7-1002: passed over: its hive C:\\Users\\carol\\NTUSER.DAT is not a file of its "
                   "own there (a link, a second name, or unreadable; error 5), so it is not loaded");
    Logs(platform, "users: 1 other user(s) visited, 1 passed over");
  }
}

// Another process of the user's puts a link in the file's place just after
// the check: the check after the load finds it and the hive goes unused.
class SwappedAfterTheCheck : public TestFileSystem {
 public:
  SwappedAfterTheCheck(TestPlatform& platform, std::string file)
      : TestFileSystem(platform.drives.Path(), &platform.codePage), platform_(platform), file_(std::move(file)) {}

  bool IsPlainFile(const char* path) override {
    const bool plain = TestFileSystem::IsPlainFile(path);
    if (plain && path == file_ && !swapped_) {
      swapped_ = true;
      fs::remove(platform_.Host(file_));
      fs::create_symlink(platform_.Host("C:\\Elsewhere\\NTUSER.DAT"), platform_.Host(file_));
    }
    return plain;
  }

 private:
  TestPlatform& platform_;
  std::string file_;
  bool swapped_ = false;
};

TEST(EveryUserTest, AHiveFileSwappedForALinkDuringTheLoadIsUnloadedUnused) {
  TW_PORTABLE_ONLY();
  TestPlatform platform;
  Install(platform, false);
  platform.WriteFile("C:\\Elsewhere\\NTUSER.DAT", "another hive");
  SwappedAfterTheCheck files(platform, kCarol.HiveFile());
  ASSERT_EQ(platform.RunProgram(Logged("/quiet /allusers"), platform.View().With(files)), 0);
  ExpectUntouched(platform, kCarol);
  EXPECT_FALSE(KeyExists(platform.registry, kHkeyUsers, LoadedHiveKey(kCarol.sid)));
  Logs(platform, "user S-1-5-21-7-7-7-1002: passed over: its hive C:\\Users\\carol\\NTUSER.DAT was replaced while it "
                 "was loaded; unloaded again");
}

// What another user planted in his own hive or start menu reaches nothing
// outside his profile: a programs directory elsewhere (another user's, the
// running user's, the machine's) or a program folder that is a link.
TEST(EveryUserTest, NothingOutsideAUsersOwnProfileIsChangedThroughWhatHePlanted) {
  TW_PORTABLE_ONLY();
  const std::string victim = "C:\\Victim\\Programs";
  struct Plant {
    const char* name;
    std::string programs;  // bob's Programs value; empty: his own
    bool linkedFolder;     // bob's Talkwise folder a link to the victim's
  };
  const Plant plants[] = {
      {"a programs directory outside his profile", victim, false},
      {"the running user's programs directory", kOwnPrograms, false},
      {"carol's programs directory", kCarol.ProgramsDirectory(), false},
      {"a program folder that is a link", "", true},
  };
  for (const Plant& plant : plants) {
    SCOPED_TRACE(plant.name);
    TestPlatform platform;
    platform.user.profile = "C:\\Start Menu";
    Install(platform, false);
    for (const char* name : {"Begin Here", "General Reference", "Dictation"}) {
      platform.WriteFile(victim + "\\Talkwise\\" + name + ".lnk");
    }
    if (!plant.programs.empty()) {
      WriteText(platform.registry, kHkeyUsers, UserKey(kBob, layout::kShellFolders), layout::kPrograms, plant.programs);
    }
    // Carol is not visited here: only what bob planted could touch her files.
    WriteText(platform.registry, kHkeyLocalMachine, std::string(layout::kProfileList) + "\\" + kCarol.sid,
              "ProfileImagePath", "C:\\Users\\nobody");
    platform.user.profiles.erase(kCarol.sid);
    if (plant.linkedFolder) {
      fs::remove_all(platform.Host(kBob.ProgramsDirectory() + "\\Talkwise"));
      fs::create_directory_symlink(platform.Host(victim + "\\Talkwise"), platform.Host(kBob.ProgramsDirectory() + "\\Talkwise"));
    }
    const std::vector<std::string> victimBefore = Listing(platform, victim);
    const std::vector<std::string> carolBefore = Listing(platform, kCarol.ProgramsDirectory());
    ASSERT_EQ(platform.RunProgram(Logged("/quiet /allusers")), 0);
    EXPECT_EQ(Listing(platform, victim), victimBefore);
    EXPECT_EQ(Listing(platform, kCarol.ProgramsDirectory()), carolBefore);
    EXPECT_TRUE(Updates(platform, victim).empty());
    EXPECT_TRUE(Updates(platform, kCarol.ProgramsDirectory()).empty());
    if (!plant.programs.empty() && plant.programs != kOwnPrograms) {
      Logs(platform, "refused: user S-1-5-21-7-7-7-1001: every change below the programs directory " + plant.programs +
                         ": not below the user's profile folder C:\\Users\\bob");
    }
  }
}

// The preview reaches the hives that are loaded and loads none: a hive it
// held would be passed over by a removal running beside it.
TEST(EveryUserTest, APreviewShowsEachLoadedHivesPartAndLoadsNoHive) {
  TW_PORTABLE_ONLY();
  TestPlatform platform;
  Install(platform, false);
  const std::string before = platform.Snapshot();
  ASSERT_EQ(platform.RunProgram(Logged("/preview /allusers")), 0);
  ExpectUntouched(platform, kBob);
  ExpectUntouched(platform, kCarol);
  EXPECT_EQ(platform.Snapshot(), before);
  EXPECT_TRUE(HiveFileStored(platform, kCarol));
  const std::string report = platform.standardOutput.str();
  EXPECT_NE(report.find("user S-1-5-21-7-7-7-1002: passed over: its hive is not loaded, and a preview loads none"),
            std::string::npos) << report;
  EXPECT_NE(report.find("[-HKEY_USERS\\S-1-5-21-7-7-7-1001\\AppEvents\\EventLabels\\Start Dictation US]"),
            std::string::npos) << report;
  EXPECT_NE(report.find("C:\\Users\\bob\\Start Menu\\Programs\\Talkwise\\Dictation.lnk"), std::string::npos) << report;
  // A hive a removal cut short left loaded is shown, and stays loaded for
  // the removal to use and unload.
  ASSERT_EQ(platform.registry.LoadHive(LoadedHiveKey(kCarol.sid).c_str(), kCarol.HiveFile().c_str()), kErrorSuccess);
  platform.standardOutput.str("");
  ASSERT_EQ(platform.RunProgram(Logged("/preview /allusers")), 0);
  EXPECT_TRUE(KeyExists(platform.registry, kHkeyUsers, LoadedHiveKey(kCarol.sid) + "\\AppEvents\\EventLabels\\Start Dictation US"))
      << "the preview unloaded a hive, or changed it";
  EXPECT_NE(platform.standardOutput.str().find(
                "[-HKEY_USERS\\twuninst_S-1-5-21-7-7-7-1002\\AppEvents\\EventLabels\\Start Dictation US]"),
            std::string::npos) << platform.standardOutput.str();
}

}  // namespace
}  // namespace tw::test
