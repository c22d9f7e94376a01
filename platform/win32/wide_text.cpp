#include "platform/win32/wide_text.h"

#include <windows.h>

namespace tw {

namespace {

WideText Widen(UINT codePage, const char* text) {
  const int length = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
  if (length <= 0) return WideText();
  WideText wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text, -1, wide.data(), length);
  wide.resize(static_cast<std::size_t>(length) - 1);  // the converted terminator
  return wide;
}

}  // namespace

WideText WidenFromActiveCodePage(const char* text) { return Widen(CP_ACP, text); }

WideText WidenFromUtf8(const char* text) { return Widen(CP_UTF8, text); }

std::optional<std::string> NarrowExactly(const wchar_t* text) {
  // Code pages such as UTF-8 refuse the flag and the used-default argument;
  // the round trip below is the check that holds for every code page.
  BOOL usedDefault = FALSE;
  int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, nullptr, 0, nullptr, &usedDefault);
  const bool flagsRefused = length == 0 && (GetLastError() == ERROR_INVALID_FLAGS || GetLastError() == ERROR_INVALID_PARAMETER);
  const DWORD flags = flagsRefused ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL* usedDefaultOut = flagsRefused ? nullptr : &usedDefault;
  if (flagsRefused) length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 0 || usedDefault) return std::nullopt;
  std::string narrow(static_cast<std::size_t>(length), '\0');
  if (WideCharToMultiByte(CP_ACP, flags, text, -1, narrow.data(), length, nullptr, usedDefaultOut) != length ||
      usedDefault) {
    return std::nullopt;
  }
  narrow.resize(static_cast<std::size_t>(length) - 1);
  const WideText back = WidenFromActiveCodePage(narrow.c_str());
  if (back != WideText(text)) return std::nullopt;
  return narrow;
}

WideText WidenAscii(const std::string& text) { return WideText(text.begin(), text.end()); }

}  // namespace tw
