// The user's folders on the portable platform's disk. The profile folder and
// whether the user's own rights can be had are set by the test, and so are 8.3
// short names (which the disk has none of): each is an alias of a long path.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "tests/support/portable/disk_file_system.h"
#include "platform/user_folders.h"

namespace tw {

class DiskUserFolders : public UserFolders {
 public:
  // files and root are those of the DiskFileSystem that holds the drives.
  DiskUserFolders(const DiskFileSystem& files, std::filesystem::path root);

  // The entered user's: profile for the running user, profiles[sid] for another.
  std::optional<std::string> ProfileFolder() override;
  // Links are followed as the system does, short names replaced by their
  // long forms; the names are spelt as the disk holds them.
  std::optional<std::string> FinalFolderPath(const std::string& path) override;
  // Another user's folders are changed through checked handles, as the
  // disk's changes always are.
  bool UserRightsHeld() override { return !entered.empty() || rightsHeld; }
  std::string AccountSid() override { return sid; }
  std::vector<UserAccount> Accounts() override { return {UserAccount{}}; }
  void Enter(const UserAccount& account) override { entered = account.sid; }
  void Refused(const std::string& folder, const std::string& reason) override;

  std::optional<std::string> profile;  // a Windows path; none: not known
  std::map<std::string, std::string> profiles;  // another user's SID -> profile folder
  bool rightsHeld = true;
  std::string sid = "S-1-5-21-1-1-1-1000";
  std::string entered;  // the SID entered last; empty: the running user
  // Short path -> long path, each the whole path of a folder ("C:\Users\LONGNA~1").
  std::map<std::string, std::string> shortNames;
  std::vector<std::string> refused;  // "<folder>: <reason>", another user's "<sid> <folder>: <reason>"

 private:
  std::string LongForm(const std::string& path) const;

  const DiskFileSystem& files_;
  std::filesystem::path root_;
};

}  // namespace tw
