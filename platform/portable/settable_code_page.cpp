#include "platform/portable/settable_code_page.h"

namespace tw {

bool SettableCodePage::IsLeadByte(unsigned char byte) const {
  return codePage_ == 936 && byte >= 0x81 && byte <= 0xFE;
}

void SettableCodePage::Uppercase(std::string& text) const {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(text[i]))) {
      ++i;  // a trail byte is part of its character, not a letter
    } else if (text[i] >= 'a' && text[i] <= 'z') {
      text[i] = static_cast<char>(text[i] - 'a' + 'A');
    }
  }
}

}  // namespace tw
