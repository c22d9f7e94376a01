// The machine's removal lock for the length of one cleanup: from before the
// first read of ProductCtr to after the ledger's last record. A removal that
// finds it held waits for it, up to a minute, and says so in the log.
#pragma once

#include <cstdint>

#include "platform/removal_lock.h"
#include "platform/run_notes.h"

namespace tw {

// How long a removal waits for another one to end before it gives up.
constexpr std::uint32_t kRemovalWaitMilliseconds = 60000;

class RemovalTurn {
 public:
  RemovalTurn(RemovalLock& lock, RunNotes& notes);
  ~RemovalTurn();
  RemovalTurn(const RemovalTurn&) = delete;
  RemovalTurn& operator=(const RemovalTurn&) = delete;

  // False: another removal held the lock for the whole wait, or it cannot be had safely.
  bool Held() const { return held_; }

 private:
  RemovalLock& lock_;
  bool held_ = false;
};

}  // namespace tw
