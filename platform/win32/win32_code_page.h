// The system's active code page.
#pragma once

#include "platform/code_page.h"

namespace tw {

class Win32CodePage : public CodePage {
 public:
  bool IsLeadByte(unsigned char byte) const override;
  void Uppercase(std::string& text) const override;
  void FoldCase(std::string& text) const override;
  std::string ToUtf8(const std::string& text) const override;
};

}  // namespace tw
