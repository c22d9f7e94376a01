// Other users of a test machine, each with a copy of the running user's
// start menu and sound events in his own profile and hive: the profile in the
// machine's ProfileList, the hive loaded as HKEY_USERS\<sid> (logged on) or
// kept as the profile's NTUSER.DAT for an every-user run to load. Portable
// registry only: Windows makes no keys below HKEY_USERS but by loading hives.
#pragma once

#include <string>

#include "tests/support/test_platform.h"

namespace tw::test {

struct OtherUser {
  std::string sid;
  std::string profile;  // a Windows path, "C:\Users\bob"
  bool loggedOn = true;

  std::string ProgramsDirectory() const { return profile + "\\Start Menu\\Programs"; }
  std::string HiveFile() const { return profile + "\\NTUSER.DAT"; }
};

inline const OtherUser kBob{"S-1-5-21-7-7-7-1001", "C:\\Users\\bob", true};
inline const OtherUser kCarol{"S-1-5-21-7-7-7-1002", "C:\\Users\\carol", false};

// Copies what the running user's hive holds of the start menu and sound
// events, and the files below the running user's programs directory, to the
// user. Call it after the running user's part is installed.
void AddOtherUser(TestPlatform& platform, const OtherUser& user);

// The user as he is on `from` made on `to` too (his hive, logged on or a
// file, and his profile), for a copy of a test machine.
void CopyOtherUser(TestPlatform& from, TestPlatform& to, const OtherUser& user);

// path in the user's hive, below HKEY_USERS while the hive is there by SID.
std::string UserKey(const OtherUser& user, const std::string& path);

// Runs look(platform) with the user's hive in HKEY_USERS\<sid>, loaded from
// its file for the time of the look when the user is not logged on.
template <typename Look>
void WithUserHive(TestPlatform& platform, const OtherUser& user, Look look) {
  const bool load = !user.loggedOn;
  if (load) {
    EXPECT_EQ(platform.registry.LoadHive(user.sid.c_str(), user.HiveFile().c_str()), kErrorSuccess);
  }
  look(platform);
  if (load) {
    EXPECT_EQ(platform.registry.StoreHiveFile(user.sid, user.HiveFile()), kErrorSuccess);
  }
}

}  // namespace tw::test
