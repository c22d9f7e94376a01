// The user whose start menu the run cleans up. The programs directory comes
// from that user's hive, which the user writes; the run is elevated. So a
// programs directory counts only inside the user's own profile, and changes
// there are made with the user's own rights or not at all.
#pragma once

#include <optional>
#include <string>

namespace tw {

class UserFolders {
 public:
  virtual ~UserFolders() = default;
  // The profile folder of the user the process's token names (the
  // "ProfileImagePath" of that user's SID under the machine's ProfileList),
  // as FinalFolderPath gives it; nothing when it is not known.
  virtual std::optional<std::string> ProfileFolder() = 0;
  // Where the folder at path really lies: the final path of an opened handle,
  // links followed, 8.3 short names in their long form, in the active code
  // page; nothing when it cannot be opened or has no exact 8-bit form.
  virtual std::optional<std::string> FinalFolderPath(const std::string& path) = 0;
  // Whether changes in the user's folders are made with no more than the
  // user's own rights. False when the process is elevated and no unelevated
  // token of its user can be had: every such change is then refused.
  virtual bool UserRightsHeld() = 0;
  // Whether the process's token user is LocalSystem (S-1-5-18), as under a
  // deployment tool: its HKEY_CURRENT_USER and start menu are not those of
  // the user who installed the product.
  virtual bool IsLocalSystem() = 0;
  // Told of a folder of the user's that is left alone (its path in the active
  // code page) and why; only a journal writes it down.
  virtual void Refused(const std::string& /*folder*/, const std::string& /*reason*/) {}
};

}  // namespace tw
