// The user's folders with every refusal of the programs directory written to
// the journal.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/journal/journal.h"
#include "platform/user_folders.h"

namespace tw {

class JournalUserFolders : public UserFolders {
 public:
  JournalUserFolders(UserFolders& inner, Journal& journal) : inner_(inner), journal_(journal) {}

  std::optional<std::string> ProfileFolder() override { return inner_.ProfileFolder(); }
  std::optional<std::string> FinalFolderPath(const std::string& path) override { return inner_.FinalFolderPath(path); }
  bool UserRightsHeld() override { return inner_.UserRightsHeld(); }
  std::string AccountSid() override { return inner_.AccountSid(); }
  std::vector<UserAccount> Accounts() override { return inner_.Accounts(); }
  void Enter(const UserAccount& account) override {
    entered_ = account.sid;
    inner_.Enter(account);
  }
  // Written once per user, folder and reason: every step that reads the
  // programs directory meets the same refusal, which holds for the whole run.
  void Refused(const std::string& folder, const std::string& reason) override;

 private:
  UserFolders& inner_;
  Journal& journal_;
  std::string entered_;
  std::set<std::pair<std::string, std::string>> told_;
};

}  // namespace tw
