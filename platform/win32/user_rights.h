// The start menu belongs to the user, who may plant links in it; the program
// runs elevated. Working there with the user's own rights means that even a
// link that wins a race reaches only what the user could reach anyway.
#pragma once

namespace tw {

// While it lives, the calling thread impersonates the interactive user's
// unelevated token: the linked token of a process elevated through UAC, or,
// where that is only good for identification, the token of the user's shell
// when it belongs to the same user. Without either (not elevated through UAC,
// no shell) the thread keeps the process's rights. The rights are held only
// when the process is not elevated through UAC or the impersonation works:
// otherwise a change in the user's folders is to be refused.
// While set, no UserRights impersonates: the folders changed are another
// user's, whom the running user's unelevated token may not reach and whose
// own token the run does not have. The changes are then made with the
// process's rights, and only through handles checked to hold the object at
// the exact path (OpenAtExactPath, HeldFolder), so a link anywhere refuses.
void SetOtherUsersFolders(bool other);

class UserRights {
 public:
  UserRights();
  ~UserRights();
  UserRights(const UserRights&) = delete;
  UserRights& operator=(const UserRights&) = delete;

  bool Impersonating() const { return impersonating_; }
  bool Held() const { return held_; }

 private:
  bool impersonating_ = false;
  bool held_ = false;
};

}  // namespace tw
