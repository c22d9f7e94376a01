#include "platform/journal/journal_user_folders.h"

namespace tw {

void JournalUserFolders::Refused(const std::string& folder, const std::string& reason) {
  inner_.Refused(folder, reason);
  if (!told_.emplace(entered_ + " " + folder, reason).second) return;
  const std::string whose = entered_.empty() ? "" : "user " + entered_ + ": ";
  journal_.Refusal(whose + "every change below the programs directory " + journal_.Utf8(folder) + ": " +
                   journal_.Utf8(reason));
}

}  // namespace tw
