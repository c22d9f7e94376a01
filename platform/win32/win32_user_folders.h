// The user's folders as the system knows them: the profile of the entered
// user (the token's own, or another's by SID) from the machine's ProfileList, final paths of opened folders, and the
// rights that UserRights can have.
#pragma once

#include "platform/user_folders.h"

namespace tw {

class Win32UserFolders : public UserFolders {
 public:
  std::optional<std::string> ProfileFolder() override;
  std::optional<std::string> FinalFolderPath(const std::string& path) override;
  bool UserRightsHeld() override;
  std::string AccountSid() override;
  std::vector<UserAccount> Accounts() override { return {UserAccount{}}; }
  void Enter(const UserAccount& account) override;

 private:
  std::string enteredSid_;  // empty: the process's own user
};

}  // namespace tw
