#include "app/every_user.h"

#include "registry/enumeration.h"
#include "registry/key_path.h"
#include "registry/layout.h"
#include "registry/scoped_key.h"

namespace tw {
namespace {

// A user's SID as the ProfileList names it, by type: the digits of its
// sub-authorities are all that follow the prefix.
bool HasPrefixAndNumbers(const std::string& sid, const std::string& prefix) {
  if (sid.compare(0, prefix.size(), prefix) != 0 || sid.size() == prefix.size()) return false;
  for (std::size_t i = prefix.size(); i < sid.size(); ++i) {
    const char c = sid[i];
    if (!(c >= '0' && c <= '9') && !(c == '-' && sid[i - 1] != '-')) return false;
  }
  return sid.back() != '-';
}

// The ordinary users' SIDs in the machine's profile list; complete is false
// when the list could not be read whole.
std::vector<std::string> ProfileSids(Registry& registry, bool* complete) {
  const ScopedKey profiles(registry, kHkeyLocalMachine, std::string(layout::kProfileList), kKeyEnumerateSubKeys);
  *complete = profiles.IsOpen();
  if (!profiles.IsOpen()) return {};
  std::vector<std::string> sids;
  for (std::string& name : CollectSubkeyNames(registry, profiles.Handle(), layout::kKeyPathCapacity, complete)) {
    if (IsOrdinaryUserSid(name)) sids.push_back(std::move(name));
  }
  return sids;
}

bool KeyExists(Registry& registry, const std::string& name) {
  return ScopedKey(registry, kHkeyUsers, name, kKeyQueryValue).IsOpen();
}

}  // namespace

std::string LoadedHiveKey(const std::string& sid) { return "twuninst_" + sid; }

bool IsOrdinaryUserSid(const std::string& sid) {
  return HasPrefixAndNumbers(sid, "S-1-5-21-") || HasPrefixAndNumbers(sid, "S-1-12-1-");
}

std::vector<KeyTree> RemovalKeyTrees(Registry& machine) {
  std::vector<KeyTree> trees;
  for (const layout::KeyTreeName& tree : layout::kMachineKeyTrees) trees.push_back({tree.root, tree.path});
  for (const char* path : layout::kUserKeyTrees) trees.push_back({kHkeyCurrentUser, path});
  bool complete = false;
  for (const std::string& sid : ProfileSids(machine, &complete)) {
    for (const std::string& hive : {sid, LoadedHiveKey(sid)}) {
      for (const char* path : layout::kUserKeyTrees) trees.push_back({kHkeyUsers, hive + "\\" + path});
    }
  }
  return trees;
}

EveryUserFolders::EveryUserFolders(UserFolders& inner, Registry& hives, FileSystem& files, RunNotes& notes,
                                   bool loadHives)
    : inner_(inner), hives_(hives), files_(files), notes_(notes), loadHives_(loadHives) {}

std::vector<UserAccount> EveryUserFolders::Accounts() {
  std::vector<UserAccount> accounts{UserAccount{}};
  accounts.insert(accounts.end(), others_.begin(), others_.end());
  return accounts;
}

void EveryUserFolders::Visit() {
  Leave();
  bool complete = false;
  const std::vector<std::string> sids = ProfileSids(hives_, &complete);
  if (!complete) notes_.Note("users: the machine's profile list cannot be read whole; users in it may be passed over");
  // The running user's hive is HKEY_CURRENT_USER: its part is done as always.
  const std::string own = inner_.AccountSid();
  std::size_t passedOver = 0;
  for (const std::string& sid : sids) {
    if (sid == own) continue;
    UserAccount account;
    if (Reach(sid, &account)) {
      others_.push_back(account);
    } else {
      ++passedOver;
    }
  }
  notes_.Note("users: " + std::to_string(others_.size()) + " other user(s) visited, " + std::to_string(passedOver) +
              " passed over");
}

bool EveryUserFolders::Reach(const std::string& sid, UserAccount* account) {
  const std::string whose = "user " + sid + ": ";
  *account = UserAccount{sid, kHkeyUsers, sid};
  if (KeyExists(hives_, sid)) {
    notes_.Note(whose + "visited in HKEY_USERS\\" + sid + " (logged on)");
    return true;
  }
  account->hivePath = LoadedHiveKey(sid);
  const bool leftLoaded = KeyExists(hives_, account->hivePath);
  if (!leftLoaded && !loadHives_) {
    notes_.Note(whose + "passed over: its hive is not loaded, and a preview loads none (the removal loads it)");
    return false;
  }
  // A hive left loaded may come from a link put in the file's place before
  // the killed run's check after the load: its file is checked again.
  const auto file = PlainHiveFile(*account, whose);
  if (leftLoaded) {
    if (!file) {
      if (loadHives_) Unload(*account);
      return false;
    }
    // A preview leaves it loaded: the removal it shows unloads it.
    if (loadHives_) loaded_.push_back(*account);
    notes_.Note(whose + "visited in HKEY_USERS\\" + account->hivePath + ", left loaded by a removal cut short");
    return true;
  }
  return file && Load(*account, *file, whose);
}

std::optional<std::string> EveryUserFolders::PlainHiveFile(const UserAccount& account, const std::string& whose) {
  inner_.Enter(account);
  const auto profile = inner_.ProfileFolder();
  inner_.Enter(UserAccount{});
  const auto file = profile ? JoinPath({*profile, layout::kProfileHiveFile}, layout::kPathCapacity) : std::nullopt;
  if (!file) {
    notes_.Note(whose + "passed over: its profile folder is not known");
    return std::nullopt;
  }
  if (files_.IsPlainFile(file->c_str())) return file;
  const Status error = files_.LastError();
  if (error == kErrorFileNotFound || error == kErrorPathNotFound) {
    notes_.Note(whose + "passed over: its hive " + *file + " cannot be loaded (error " + std::to_string(error) + ")");
  } else {
    notes_.Note(whose + "passed over: its hive " + *file + " is not a file of its own there (a link, a second name, " +
                "or unreadable; error " + std::to_string(error) + "), so it is not loaded");
  }
  return std::nullopt;
}

// Checked again once loaded: a link put in the file's place between the
// check and the load is found, and the hive goes before anything reads it.
bool EveryUserFolders::Load(const UserAccount& account, const std::string& file, const std::string& whose) {
  const Status status = hives_.LoadHive(account.hivePath.c_str(), file.c_str());
  if (status != kErrorSuccess) {
    notes_.Note(whose + "passed over: its hive " + file + " cannot be loaded (error " + std::to_string(status) + ")");
    return false;
  }
  if (!files_.IsPlainFile(file.c_str())) {
    notes_.Note(whose + "passed over: its hive " + file + " was replaced while it was loaded; unloaded again");
    Unload(account);
    return false;
  }
  loaded_.push_back(account);
  notes_.Note(whose + "visited, its hive " + file + " loaded as HKEY_USERS\\" + account.hivePath);
  return true;
}

void EveryUserFolders::Unload(const UserAccount& account) {
  const Status status = hives_.UnloadHive(account.hivePath.c_str());
  if (status == kErrorSuccess) return;
  notes_.Note("user " + account.sid + ": its hive cannot be unloaded (error " + std::to_string(status) +
              "); it stays loaded as HKEY_USERS\\" + account.hivePath + " until the next every-user removal");
}

void EveryUserFolders::Leave() {
  for (const UserAccount& account : loaded_) Unload(account);
  loaded_.clear();
  others_.clear();
}

RemovalLock::Taken EveryUserLock::Take(std::uint32_t waitMilliseconds) {
  const Taken taken = inner_.Take(waitMilliseconds);
  if (taken == Taken::kYes || taken == Taken::kAbandoned) users_.Visit();
  return taken;
}

void EveryUserLock::Give() {
  users_.Leave();
  inner_.Give();
}

EveryUserRun::EveryUserRun(const Platform& platform, Registry& hives, bool everyUser, bool loadHives)
    : platform_(platform),
      everyUser_(everyUser),
      folders_(platform.user, hives, platform.files, platform.notes, loadHives),
      lock_(platform.lock, folders_) {}

}  // namespace tw
