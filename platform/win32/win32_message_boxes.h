// Message boxes with wide texts from the executable's string table, so that
// the Chinese texts show whatever the system's code page is.
#pragma once

#include "platform/message_boxes.h"
#include "platform/types.h"
#include "platform/win32/wide_text.h"

namespace tw {

class Win32MessageBoxes : public MessageBoxes {
 public:
  // instance holds the string table; captionId names the caption's text.
  Win32MessageBoxes(InstanceHandle instance, std::uint32_t captionId);

  void EnableThreeDimensionalLook() override;
  int Show(std::uint32_t textId, std::uint32_t flags) override;
  int ShowFormatted(std::uint32_t textId, std::uint32_t flags, int number, const char* text) override;
  bool DesktopVisible() override;

 private:
  WideText LoadText(std::uint32_t textId) const;
  int ShowText(const WideText& text, std::uint32_t flags) const;

  InstanceHandle instance_;
  std::uint32_t captionId_;
};

}  // namespace tw
