// Every user's part of a removal. Run as LocalSystem (a deployment tool's
// way) or with /allusers, the run releases the shortcuts, program folders and
// sound events of each ordinary user profile of the machine where they are:
// the hive in HKEY_USERS when its user is logged on, otherwise the profile's
// NTUSER.DAT loaded for the run under a key of the run's own. The hives are
// reached only while the run holds the machine's removal lock, so that two
// removals never load the same file, and a hive the run loaded is unloaded
// before another removal can take the lock.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/overlay/overlay_registry.h"
#include "platform/platform.h"

namespace tw {

// Where the run loads a profile's hive: one name per user, the same in every
// run, so that a run cut short between load and unload leaves a key the next
// every-user run recognises, uses and unloads.
std::string LoadedHiveKey(const std::string& sid);

// Whether the SID is an ordinary user's (a local, domain or Entra ID
// account), not a service's or the system's.
bool IsOrdinaryUserSid(const std::string& sid);

// Every key tree a removal can reach: the machine's, the running user's
// hive's, and each profile's hive's in HKEY_USERS (under its SID and under
// the run's own key), for a preview to read from the machine.
std::vector<KeyTree> RemovalKeyTrees(Registry& machine);

// The running user first, then every other user visited.
class EveryUserFolders : public UserFolders {
 public:
  // hives: where the hives are looked for and loaded. files: where each
  // hive file is checked before it is loaded. loadHives: false in a preview,
  // which reaches only the hives that are loaded: it changes nothing, a hive
  // mount included, and must not hold a file a real removal is to load.
  EveryUserFolders(UserFolders& inner, Registry& hives, FileSystem& files, RunNotes& notes, bool loadHives);
  ~EveryUserFolders() override { Leave(); }
  EveryUserFolders(const EveryUserFolders&) = delete;
  EveryUserFolders& operator=(const EveryUserFolders&) = delete;

  // Finds the ordinary users' profiles and opens or loads each one's hive,
  // the log naming each user visited and each passed over, and why.
  void Visit();
  // Unloads the hives Visit loaded; the run reaches its own user's part only.
  void Leave();

  std::optional<std::string> ProfileFolder() override { return inner_.ProfileFolder(); }
  std::optional<std::string> FinalFolderPath(const std::string& path) override { return inner_.FinalFolderPath(path); }
  bool UserRightsHeld() override { return inner_.UserRightsHeld(); }
  std::string AccountSid() override { return inner_.AccountSid(); }
  std::vector<UserAccount> Accounts() override;
  void Enter(const UserAccount& account) override { inner_.Enter(account); }
  void Refused(const std::string& folder, const std::string& reason) override { inner_.Refused(folder, reason); }

 private:
  // The user's hive opened or loaded; false, with the reason noted, when neither can be.
  bool Reach(const std::string& sid, UserAccount* account);
  // The user's hive file, when it is a file of his own where his profile
  // says (the load follows links, and the user can plant one there).
  std::optional<std::string> PlainHiveFile(const UserAccount& account, const std::string& whose);
  bool Load(const UserAccount& account, const std::string& file, const std::string& whose);
  void Unload(const UserAccount& account);

  UserFolders& inner_;
  Registry& hives_;
  FileSystem& files_;
  RunNotes& notes_;
  bool loadHives_;
  std::vector<UserAccount> others_;
  std::vector<UserAccount> loaded_;  // by this run, or left loaded by one cut short
};

// The removal lock with every user's hives reached while it is held.
class EveryUserLock : public RemovalLock {
 public:
  EveryUserLock(RemovalLock& inner, EveryUserFolders& users) : inner_(inner), users_(users) {}

  Taken Take(std::uint32_t waitMilliseconds) override;
  void Give() override;

 private:
  RemovalLock& inner_;
  EveryUserFolders& users_;
};

// A run's platform with every user's part when the run does every user's
// (/allusers, or run as LocalSystem), unchanged otherwise.
class EveryUserRun {
 public:
  EveryUserRun(const Platform& platform, Registry& hives, bool everyUser, bool loadHives);

  Platform View() const { return everyUser_ ? platform_.With(folders_).With(lock_) : platform_; }

 private:
  Platform platform_;
  bool everyUser_;
  mutable EveryUserFolders folders_;
  mutable EveryUserLock lock_;
};

}  // namespace tw
