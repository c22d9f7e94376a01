#include "tests/support/other_users.h"

#include <filesystem>

#include "registry/layout.h"
#include "tests/support/portable/reg_file.h"
#include "tests/support/registry_probe.h"

namespace tw::test {

std::string UserKey(const OtherUser& user, const std::string& path) { return user.sid + "\\" + path; }

void AddOtherUser(TestPlatform& platform, const OtherUser& user) {
  const std::string own = ExportRegText(
      platform.registry, {"HKEY_CURRENT_USER\\" + std::string(layout::kShellFolders), "HKEY_CURRENT_USER\\AppEvents"});
  std::string copy;
  for (std::size_t at = 0, next = 0; at < own.size(); at = next) {
    next = own.find("[HKEY_CURRENT_USER\\", at);
    if (next == std::string::npos) next = own.size();
    copy += own.substr(at, next - at);
    if (next == own.size()) break;
    copy += "[HKEY_USERS\\" + user.sid + "\\";
    next += std::string("[HKEY_CURRENT_USER\\").size();
  }
  platform.LoadRegText(copy);
  const auto programs = TextValue(platform.registry, kHkeyCurrentUser, layout::kShellFolders, layout::kPrograms);
  WriteText(platform.registry, kHkeyUsers, UserKey(user, layout::kShellFolders), layout::kPrograms,
            user.ProgramsDirectory());
  WriteText(platform.registry, kHkeyLocalMachine, std::string(layout::kProfileList) + "\\" + user.sid,
            "ProfileImagePath", user.profile);
  platform.user.profiles[user.sid] = user.profile;
  platform.MakeFolder(user.ProgramsDirectory());
  if (programs && platform.Exists(*programs)) {
    std::filesystem::copy(platform.Host(*programs), platform.Host(user.ProgramsDirectory()),
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
  }
  if (!user.loggedOn) {
    platform.WriteFile(user.HiveFile(), "hive");
    EXPECT_EQ(platform.registry.StoreHiveFile(user.sid, user.HiveFile()), kErrorSuccess);
  }
}

void CopyOtherUser(TestPlatform& from, TestPlatform& to, const OtherUser& user) {
  std::string hive;
  WithUserHive(from, user, [&](TestPlatform& p) { hive = ExportRegText(p.registry, {"HKEY_USERS\\" + user.sid}); });
  to.LoadRegText(hive);
  to.user.profiles[user.sid] = user.profile;
  if (!user.loggedOn) {
    to.WriteFile(user.HiveFile(), "hive");
    EXPECT_EQ(to.registry.StoreHiveFile(user.sid, user.HiveFile()), kErrorSuccess);
  }
}

}  // namespace tw::test
