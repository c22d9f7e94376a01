#include "app/run_outcome.h"

namespace tw {

std::string RunOutcome::Text() const {
  switch (kind) {
    case Kind::kDone: return "done";
    case Kind::kDeclined: return "declined";
    case Kind::kBadCommandLine: return "bad command line";
    case Kind::kNotRegistered: return "not registered";
    case Kind::kAlreadyReleased: return "already released at " + releasedAt;
    case Kind::kResumed: return "interrupted removal finished";
    case Kind::kProgressUnknown: return "progress of the interrupted removal unknown, nothing more released";
    case Kind::kResumeStopped: return "interrupted full removal not resumed, " + registered + " registered since";
    case Kind::kUninstallerNotStarted: return "uninstaller not started";
    case Kind::kAnotherRemovalRunning: return "another removal running";
  }
  return "done";
}

}  // namespace tw
