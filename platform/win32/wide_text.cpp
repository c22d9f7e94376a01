#include "platform/win32/wide_text.h"

#include <windows.h>

namespace tw {

WideText WidenFromActiveCodePage(const char* text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length <= 0) return WideText();
  WideText wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
  wide.resize(static_cast<std::size_t>(length) - 1);  // the converted terminator
  return wide;
}

WideText WidenAscii(const std::string& text) { return WideText(text.begin(), text.end()); }

}  // namespace tw
