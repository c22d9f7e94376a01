// The machine's removal lock for the portable platform: every lock made from
// one RemovalMachine is the same lock, each as one process holds it, so that
// a test can have "another process" hold it, end without giving it back, or
// squat its name as an ordinary user would.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/removal_lock.h"

namespace tw::test {

struct RemovalMachine {
  int holder = 0;          // the holding lock's id; 0: free
  bool abandoned = false;  // its last holder ended without giving it back
  bool squatted = false;   // an ordinary user made the name first
  int lastId = 0;
  // What the other processes do while a Take waits (given the wait asked
  // for); they may give the lock back or take it.
  std::function<void(std::uint32_t)> whileWaiting;
};

class PortableRemovalLock : public RemovalLock {
 public:
  explicit PortableRemovalLock(std::shared_ptr<RemovalMachine> machine)
      : machine_(std::move(machine)), id_(++machine_->lastId) {}

  Taken Take(std::uint32_t waitMilliseconds) override;
  void Give() override;
  // The process ends without giving the lock back.
  void Abandon();
  bool Held() const { return machine_->holder == id_; }

 private:
  std::shared_ptr<RemovalMachine> machine_;
  int id_;
};

}  // namespace tw::test
