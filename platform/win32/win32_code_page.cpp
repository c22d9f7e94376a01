#include "platform/win32/win32_code_page.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace tw {

bool Win32CodePage::IsLeadByte(unsigned char byte) const { return IsDBCSLeadByte(byte) != FALSE; }

void Win32CodePage::Uppercase(std::string& text) const {
  // The length-bounded form works on exactly the string's bytes.
  if (!text.empty()) CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
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
