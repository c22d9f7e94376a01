#include "tests/support/portable/settable_code_page.h"

#include <cstdint>

#if defined(_WIN32)
#include <windows.h>
#elif __has_include(<iconv.h>)
#include <iconv.h>
#define TW_HAVE_ICONV 1
#endif

namespace tw {
namespace {

// CharUpperA in code page 1252: the ASCII letters, the Latin-1 letters and
// the four of 0x80..0x9F whose capitals the code page holds. Sharp s, the
// micro sign and the ordinals have no capital there and stay.
unsigned char WesternUpper(unsigned char c) {
  if (c < 0x80) return static_cast<unsigned char>(UpperAscii(static_cast<char>(c)));
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

// Code page 1252's characters at 0x80..0x9F; the five it leaves undefined map
// to the control characters of the same number, as Windows maps them.
constexpr std::uint16_t kWestern80To9F[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::uint32_t codePoint, std::string* out) {
  if (codePoint < 0x80) {
    *out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    *out += static_cast<char>(0xC0 | codePoint >> 6);
    *out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    *out += static_cast<char>(0xE0 | codePoint >> 12);
    *out += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
    *out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

constexpr std::uint32_t kReplacement = 0xFFFD;

// Code page 936 through the C library's converter (GBK holds the same
// characters); without one, each double-byte character becomes U+FFFD.
std::string ChineseToUtf8(const std::string& text) {
  std::string out;
#if defined(_WIN32)
  // The test programs under Windows have no iconv: the system's own tables.
  const int length = static_cast<int>(text.size());
  const int wideChars = MultiByteToWideChar(936, 0, text.data(), length, nullptr, 0);
  if (wideChars > 0 || text.empty()) {
    std::wstring wide(static_cast<std::size_t>(wideChars), L'\0');
    MultiByteToWideChar(936, 0, text.data(), length, wide.data(), wideChars);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideChars, nullptr, 0, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(bytes > 0 ? bytes : 0));
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideChars, out.data(), bytes, nullptr, nullptr);
    return out;
  }
#endif
#if defined(TW_HAVE_ICONV)
  iconv_t converter = iconv_open("UTF-8", "GBK");
  if (converter != reinterpret_cast<iconv_t>(-1)) {
    std::string input = text;
    char* in = input.data();
    std::size_t inLeft = input.size();
    std::string buffer(text.size() * 3 + 4, '\0');
    while (inLeft > 0) {
      char* outStart = buffer.data();
      std::size_t outLeft = buffer.size();
      const std::size_t converted = iconv(converter, &in, &inLeft, &outStart, &outLeft);
      out.append(buffer.data(), buffer.size() - outLeft);
      if (converted == static_cast<std::size_t>(-1) && inLeft > 0) {
        // An invalid or cut-off character: one byte is replaced and skipped.
        AppendUtf8(kReplacement, &out);
        ++in;
        --inLeft;
      }
    }
    iconv_close(converter);
    return out;
  }
#endif
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      out += static_cast<char>(byte);
    } else {
      AppendUtf8(kReplacement, &out);
      if (byte >= 0x81 && byte <= 0xFE && i + 1 < text.size()) ++i;
    }
  }
  return out;
}

}  // namespace

std::string SettableCodePage::ToUtf8(const std::string& text) const {
  if (codePage_ == 936) return ChineseToUtf8(text);
  std::string out;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    AppendUtf8(byte >= 0x80 && byte <= 0x9F ? kWestern80To9F[byte - 0x80] : byte, &out);
  }
  return out;
}

bool SettableCodePage::IsLeadByte(unsigned char byte) const {
  return codePage_ == 936 && byte >= 0x81 && byte <= 0xFE;
}

void SettableCodePage::Uppercase(std::string& text) const {
  for (std::size_t i = 0, size = 0; i < text.size(); i += size) {
    size = CharacterSize(text, i);
    const auto byte = static_cast<unsigned char>(text[i]);
    if (size == 2) {
      // A trail byte is part of its character, never a letter by itself.
      text[i + 1] = static_cast<char>(ChineseUpperTrail(byte, static_cast<unsigned char>(text[i + 1])));
    } else if (codePage_ == 1252) {
      text[i] = static_cast<char>(WesternUpper(byte));
    } else if (!IsLeadByte(byte)) {
      text[i] = UpperAscii(text[i]);
    }
  }
}

// In code pages 1252 and 936 the capitals CharUpperA gives are each
// character's simple upper case wherever the code page holds it.
void SettableCodePage::FoldCase(std::string& text) const { Uppercase(text); }

}  // namespace tw
