#include "app/removal_turn.h"

#include <string>

namespace tw {

RemovalTurn::RemovalTurn(RemovalLock& lock, RunNotes& notes) : lock_(lock) {
  RemovalLock::Taken taken = lock.Take(0);
  if (taken == RemovalLock::Taken::kBusy) {
    notes.Note("waiting: another removal of the family is running; up to " +
               std::to_string(kRemovalWaitMilliseconds / 1000) + " s");
    taken = lock.Take(kRemovalWaitMilliseconds);
  }
  switch (taken) {
    case RemovalLock::Taken::kYes: held_ = true; break;
    case RemovalLock::Taken::kAbandoned:
      // Its removal is over; the ledger's entry of it is finished below.
      notes.Note("lock: taken over from a removal that ended without giving it back");
      held_ = true;
      break;
    case RemovalLock::Taken::kBusy: notes.Note("lock: another removal is still running; nothing changed"); break;
    case RemovalLock::Taken::kRefused:
      notes.Note("lock: refused: the removal lock cannot be had safely (made by another than Administrators or "
                 "SYSTEM, or no rights to it); nothing changed");
      break;
  }
}

RemovalTurn::~RemovalTurn() {
  if (held_) lock_.Give();
}

}  // namespace tw
