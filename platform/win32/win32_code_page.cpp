#include "platform/win32/win32_code_page.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace tw {

bool Win32CodePage::IsLeadByte(unsigned char byte) const { return IsDBCSLeadByte(byte) != FALSE; }

void Win32CodePage::Uppercase(std::string& text) const {
  // The length-bounded form works on exactly the string's bytes.
  if (!text.empty()) CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
}

void Win32CodePage::FoldCase(std::string& text) const {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      text[i] = UpperAscii(text[i]);
      continue;
    }
    // One character at a time, to its capital and back; kept when the
    // capital has no exact form of the same length in the code page.
    const int length = static_cast<int>(CharacterSize(text, i));
    wchar_t wide = 0;
    wchar_t upper = 0;
    char narrow[4];
    BOOL inexact = FALSE;
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &text[i], length, &wide, 1) == 1 &&
        LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, &wide, 1, &upper, 1) == 1 && upper != wide &&
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &upper, 1, narrow, sizeof narrow, nullptr, &inexact) ==
            length &&
        !inexact) {
      text.replace(i, static_cast<std::size_t>(length), narrow, static_cast<std::size_t>(length));
    }
    i += static_cast<std::size_t>(length) - 1;
  }
}

std::string Win32CodePage::ToUtf8(const std::string& text) const {
  if (text.empty()) return std::string();
  const int size = static_cast<int>(text.size());
  const int wideLength = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  if (wideLength <= 0) return std::string();
  WideText wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), wideLength);
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::string();
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

}  // namespace tw
