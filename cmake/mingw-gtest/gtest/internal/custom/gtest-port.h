// GoogleTest's customisation point, found before its own empty one in the
// MinGW builds: the win32 thread model has no std::mutex, which GoogleTest's
// Notification uses. The tests never start threads, so a flag will do.
#pragma once

#include <atomic>

namespace testing {
namespace internal {

class Notification {
 public:
  void Notify() { notified_.store(true); }
  void WaitForNotification() {
    while (!notified_.load()) {
    }
  }

 private:
  std::atomic<bool> notified_{false};
};

}  // namespace internal
}  // namespace testing

#define GTEST_HAS_NOTIFICATION_ 1
