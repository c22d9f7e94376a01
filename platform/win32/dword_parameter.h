// The interfaces pass sizes and types as std::uint32_t*, the Win32 calls as
// DWORD* (unsigned long), a distinct type of the same width. This carries one
// such in/out parameter across, null staying null, and copies back whatever
// the call left in it, whether it succeeded or not.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tw {

class DwordParameter {
 public:
  // An in/out parameter: the call sees the caller's value.
  static DwordParameter InOut(std::uint32_t* target) { return DwordParameter(target, target ? *target : 0); }
  // An out parameter: the caller's value may be unset and is not read.
  static DwordParameter Out(std::uint32_t* target) { return DwordParameter(target, 0); }

  ~DwordParameter() {
    if (target_) *target_ = static_cast<std::uint32_t>(value_);
  }
  DwordParameter(const DwordParameter&) = delete;
  DwordParameter& operator=(const DwordParameter&) = delete;

  DWORD* Get() { return target_ ? &value_ : nullptr; }

 private:
  DwordParameter(std::uint32_t* target, DWORD value) : target_(target), value_(value) {}

  std::uint32_t* target_;
  DWORD value_;
};

}  // namespace tw
