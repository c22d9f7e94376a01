// The users whose start menus the run cleans up. A programs directory comes
// from a user's hive, which that user writes; the run is elevated. So a
// programs directory counts only inside its user's own profile, and changes
// there are made with the user's own rights, or, for another user's, only
// through handles checked to hold the object the path names, or not at all.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace tw {

// The token user of a deployment tool's runs: its HKEY_CURRENT_USER and start
// menu are not those of the user who installed the product.
inline constexpr const char* kLocalSystemSid = "S-1-5-18";

// One user whose part of the removal (shortcuts, program folders, sound
// events) a run does, and where that user's hive is open.
struct UserAccount {
  std::string sid;  // as in the machine's ProfileList; empty: the process's own user
  RegKey hiveRoot = kHkeyCurrentUser;
  std::string hivePath;  // below hiveRoot: empty for HKEY_CURRENT_USER, else the hive's key below HKEY_USERS
};

class UserFolders {
 public:
  virtual ~UserFolders() = default;
  // The profile folder of the entered user (the "ProfileImagePath" of that
  // user's SID under the machine's ProfileList, variables expanded with the
  // machine's values only), as FinalFolderPath gives it; nothing when it is
  // not known.
  virtual std::optional<std::string> ProfileFolder() = 0;
  // Where the folder at path really lies: the final path of an opened handle,
  // links followed, 8.3 short names in their long form, in the active code
  // page; nothing when it cannot be opened or has no exact 8-bit form.
  virtual std::optional<std::string> FinalFolderPath(const std::string& path) = 0;
  // Whether changes in the entered user's folders may be made. The process's
  // own user's are made with no more than that user's own rights: false when
  // the process is elevated and no unelevated token of its user can be had.
  // Another user's, whose token the run has none of, are made with the
  // process's rights through handles checked to hold the very object each
  // path names (a link at any level refuses the change).
  virtual bool UserRightsHeld() = 0;
  // The process's token user as a SID string; empty when it is not known.
  virtual std::string AccountSid() = 0;
  bool IsLocalSystem() { return AccountSid() == kLocalSystemSid; }
  // The users the run reaches, the process's own first; only an every-user
  // run names others.
  virtual std::vector<UserAccount> Accounts() = 0;
  // The user the calls after it are about, and in whose folders the file
  // system's and the shell links' changes are made, until the next Enter.
  virtual void Enter(const UserAccount& account) = 0;
  // Told of a folder of the entered user's that is left alone (its path in
  // the active code page) and why; only a journal writes it down.
  virtual void Refused(const std::string& /*folder*/, const std::string& /*reason*/) {}
};

// Runs part(account) with each account of the run entered in turn, the
// process's own user entered again after.
template <typename Part>
void ForEachUser(UserFolders& user, Part part) {
  for (const UserAccount& account : user.Accounts()) {
    user.Enter(account);
    part(account);
  }
  user.Enter(UserAccount{});
}

}  // namespace tw
