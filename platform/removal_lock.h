// One removal of the family at a time on the machine: two removals that
// interleave their reads and writes of the same counters take a count twice
// and delete what a product that stays needs. The lock is the machine's, not
// the process's, and no ordinary user can make or hold it first.
#pragma once

#include <cstdint>

namespace tw {

class RemovalLock {
 public:
  enum class Taken {
    kYes,
    kAbandoned,  // taken; its last holder ended without giving it back
    kBusy,       // another removal held it for the whole wait
    kRefused,    // it cannot be had safely (a name made by someone else, no rights): fails closed
  };

  virtual ~RemovalLock() = default;
  // Takes the lock, waiting up to waitMilliseconds while another removal holds it.
  virtual Taken Take(std::uint32_t waitMilliseconds) = 0;
  // Gives back a lock this process took; nothing otherwise.
  virtual void Give() = 0;
};

}  // namespace tw
