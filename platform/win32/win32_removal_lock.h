// The machine's removal lock: a mutex in a private namespace bound to the
// Administrators group, so that no ordinary user can make its name first;
// where the system has no private namespaces (Wine), a global name whose
// owner must be Administrators or SYSTEM, else the lock is refused.
#pragma once

#include <windows.h>

#include "platform/removal_lock.h"

namespace tw {

class Win32RemovalLock : public RemovalLock {
 public:
  Win32RemovalLock() = default;
  Win32RemovalLock(const Win32RemovalLock&) = delete;
  Win32RemovalLock& operator=(const Win32RemovalLock&) = delete;
  // A lock still held is not given back here: the process's end abandons it.
  ~Win32RemovalLock() override { Close(); }

  Taken Take(std::uint32_t waitMilliseconds) override;
  void Give() override;

 private:
  // Opens (or makes) the mutex; false when it cannot be had safely.
  bool Open();
  void Close();

  HANDLE namespace_ = nullptr;
  HANDLE mutex_ = nullptr;
  bool held_ = false;
};

}  // namespace tw
