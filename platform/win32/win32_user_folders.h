// The user's folders as the system knows them: the profile of the token's
// user from the machine's ProfileList, final paths of opened folders, and the
// rights that UserRights can have.
#pragma once

#include "platform/user_folders.h"

namespace tw {

class Win32UserFolders : public UserFolders {
 public:
  std::optional<std::string> ProfileFolder() override;
  std::optional<std::string> FinalFolderPath(const std::string& path) override;
  bool UserRightsHeld() override;
  bool IsLocalSystem() override;
};

}  // namespace tw
