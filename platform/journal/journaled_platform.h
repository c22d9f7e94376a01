// The journal's recorders around a platform's services. Every box and start
// is recorded, for the log and for the run's exit code; the changes only when
// the journal writes, so that a run without a log makes none of the reads a
// log needs (the values a change replaces, a shortcut's old target).
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/journal/journal.h"
#include "platform/journal/journal_file_system.h"
#include "platform/journal/journal_launcher.h"
#include "platform/journal/journal_message_boxes.h"
#include "platform/journal/journal_registry.h"
#include "platform/journal/journal_run_notes.h"
#include "platform/journal/journal_shell_links.h"
#include "platform/journal/journal_speech_engine.h"
#include "platform/journal/journal_user_folders.h"
#include "platform/platform.h"

namespace tw {

class JournaledPlatform {
 public:
  // texts and answerNote: as JournalMessageBoxes takes them; bookkeeping:
  // the key of the program's own records, as JournalRegistry takes it.
  JournaledPlatform(const Platform& inner, Journal& journal, std::map<std::uint32_t, std::string> texts,
                    std::string answerNote, std::string bookkeeping);

  // The services with their recorders; valid as long as this object.
  Platform View();
  const JournalLauncher& Starts() const { return launcher_; }

 private:
  const Platform inner_;
  const bool recordsChanges_;
  JournalRegistry registry_;
  JournalFileSystem files_;
  JournalLauncher launcher_;
  JournalMessageBoxes messages_;
  JournalShellLinks links_;
  JournalSpeechEngine engine_;
  JournalUserFolders user_;
  JournalRunNotes notes_;
};

}  // namespace tw
