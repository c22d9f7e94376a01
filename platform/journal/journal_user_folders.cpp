#include "platform/journal/journal_user_folders.h"

namespace tw {

void JournalUserFolders::Refused(const std::string& folder, const std::string& reason) {
  inner_.Refused(folder, reason);
  if (!told_.emplace(folder, reason).second) return;
  journal_.Refusal("every change below the programs directory " + journal_.Utf8(folder) + ": " +
                   journal_.Utf8(reason));
}

}  // namespace tw
