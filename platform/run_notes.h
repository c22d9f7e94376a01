// Lines the removal itself has to tell the run's log (its decision, a wait),
// beside the changes that the journal's recorders see. Silent without a log.
#pragma once

#include <string>

namespace tw {

class RunNotes {
 public:
  virtual ~RunNotes() = default;
  // Whether the lines go anywhere: what is read only to be told can be left unread.
  virtual bool Writes() const { return false; }
  // One line, in the active code page.
  virtual void Note(const std::string& /*line*/) {}
};

}  // namespace tw
