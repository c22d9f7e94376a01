// What a run came to, set by the driver as it goes. The exit code of a run
// with switches and the log's summary follow from it alone, never from which
// messages happened to be shown.
#pragma once

#include <string>

namespace tw {

struct RunOutcome {
  enum class Kind {
    kDone,                    // released or removed, the uninstaller started
    kDeclined,                // the confirmation was not answered Yes
    kBadCommandLine,          // a parameter is missing
    kNotRegistered,           // with switches: no install of the product for the language
    kAlreadyReleased,         // a repeat: nothing released, the uninstaller started again
    kResumed,                 // an interrupted removal finished
    kProgressUnknown,         // its entry does not read whole: nothing more released, the uninstaller started
    kResumeStopped,           // a product registered since the full removal chose: nothing more deleted
    kUninstallerNotStarted,   // the cleanup is done, the uninstaller did not start
    kAnotherRemovalRunning,   // the removal lock stayed held: nothing changed, nothing started
  };
  Kind kind = Kind::kDone;
  std::string releasedAt;  // kAlreadyReleased: when the removal finished
  std::string registered;  // kResumeStopped: "<product> <language>" registered since

  // The summary's words for it.
  std::string Text() const;
};

}  // namespace tw
