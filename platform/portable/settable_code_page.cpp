#include "platform/portable/settable_code_page.h"

namespace tw {
namespace {

// CharUpperA in code page 1252: the ASCII letters, the Latin-1 letters and
// the four of 0x80..0x9F whose capitals the code page holds. Sharp s, the
// micro sign and the ordinals have no capital there and stay.
unsigned char WesternUpper(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 'a' + 'A');
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  switch (c) {
    case 0x9A: return 0x8A;  // s caron
    case 0x9C: return 0x8C;  // oe
    case 0x9E: return 0x8E;  // z caron
    case 0xFF: return 0x9F;  // y diaeresis
    default: return c;
  }
}

// CharUpperA in code page 936 also gives capitals to the double-byte letters
// whose capitals are in the code page: full-width Latin (row A3), Greek (A6)
// and Cyrillic (A7). Returns the trail byte of the capital.
unsigned char ChineseUpperTrail(unsigned char lead, unsigned char trail) {
  if (lead == 0xA3 && trail >= 0xE1 && trail <= 0xFA) return static_cast<unsigned char>(trail - 0x20);
  if (lead == 0xA6 && trail >= 0xC1 && trail <= 0xD8) return static_cast<unsigned char>(trail - 0x20);
  if (lead == 0xA7 && trail >= 0xD1 && trail <= 0xF1) return static_cast<unsigned char>(trail - 0x30);
  return trail;
}

}  // namespace

bool SettableCodePage::IsLeadByte(unsigned char byte) const {
  return codePage_ == 936 && byte >= 0x81 && byte <= 0xFE;
}

void SettableCodePage::Uppercase(std::string& text) const {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(byte)) {
      // A trail byte is part of its character, never a letter by itself.
      if (++i < text.size()) text[i] = static_cast<char>(ChineseUpperTrail(byte, static_cast<unsigned char>(text[i])));
    } else if (codePage_ == 1252) {
      text[i] = static_cast<char>(WesternUpper(byte));
    } else if (byte >= 'a' && byte <= 'z') {
      text[i] = static_cast<char>(byte - 'a' + 'A');
    }
  }
}

}  // namespace tw
