// The removal's own lines go to the log as they are told.
#pragma once

#include <string>

#include "platform/journal/journal.h"
#include "platform/run_notes.h"

namespace tw {

class JournalRunNotes : public RunNotes {
 public:
  explicit JournalRunNotes(Journal& journal) : journal_(journal) {}

  bool Writes() const override { return journal_.Writes(); }
  void Note(const std::string& line) override { journal_.Note(journal_.Utf8(line)); }

 private:
  Journal& journal_;
};

}  // namespace tw
