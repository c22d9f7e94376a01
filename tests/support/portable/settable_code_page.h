// A code page chosen by the test: single-byte (1252) by default, or the
// double-byte Simplified Chinese code page 936.
#pragma once

#include "platform/code_page.h"

namespace tw {

class SettableCodePage : public CodePage {
 public:
  explicit SettableCodePage(unsigned codePage = 1252) : codePage_(codePage) {}

  void Set(unsigned codePage) { codePage_ = codePage; }
  unsigned Get() const { return codePage_; }

  bool IsLeadByte(unsigned char byte) const override;
  void Uppercase(std::string& text) const override;
  void FoldCase(std::string& text) const override;
  std::string ToUtf8(const std::string& text) const override;

 private:
  unsigned codePage_;
};

}  // namespace tw
