// Message boxes whose texts come from the executable's string table and whose
// caption is always the application title.
#pragma once

#include <cstdint>

namespace tw {

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // The platform's three-dimensional look for the boxes that follow.
  virtual void EnableThreeDimensionalLook() = 0;
  // Shows string textId; returns the button pressed (IDYES, IDOK, ...).
  virtual int Show(std::uint32_t textId, std::uint32_t flags) = 0;
  // Shows string textId used as a format with one %d and one %s
  // (the text argument is in the active code page).
  virtual int ShowFormatted(std::uint32_t textId, std::uint32_t flags, int number, const char* text) = 0;
  // Whether someone can see a box and answer it: false in a process whose
  // window station is not the visible one or that runs in session 0 (a
  // service, a deployment agent as SYSTEM), where a box waits for ever.
  virtual bool DesktopVisible() = 0;
};

}  // namespace tw
