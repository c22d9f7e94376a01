// Lines the removal itself has to tell the run's log (its decision, a wait),
// beside the changes that the journal's recorders see. Silent without a log.
#pragma once

#include <string>

namespace tw {

class RunNotes {
 public:
  virtual ~RunNotes() = default;
  // One line, in the active code page.
  virtual void Note(const std::string& /*line*/) {}
};

}  // namespace tw
