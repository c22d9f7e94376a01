#include "tests/support/portable/portable_removal_lock.h"

namespace tw::test {

RemovalLock::Taken PortableRemovalLock::Take(std::uint32_t waitMilliseconds) {
  RemovalMachine& machine = *machine_;
  if (machine.squatted) return Taken::kRefused;
  if (machine.holder == id_) return Taken::kYes;
  if (machine.holder != 0 && waitMilliseconds > 0 && machine.whileWaiting) machine.whileWaiting(waitMilliseconds);
  if (machine.holder != 0) return Taken::kBusy;
  machine.holder = id_;
  const bool abandoned = machine.abandoned;
  machine.abandoned = false;
  return abandoned ? Taken::kAbandoned : Taken::kYes;
}

void PortableRemovalLock::Give() {
  if (machine_->holder == id_) machine_->holder = 0;
}

void PortableRemovalLock::Abandon() {
  if (machine_->holder != id_) return;
  machine_->holder = 0;
  machine_->abandoned = true;
}

}  // namespace tw::test
