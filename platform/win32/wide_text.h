// UTF-16 text for the wide Win32 calls. Its own traits keep it apart from
// std::wstring, whose prebuilt library copy would add a third of the
// executable's size; this one is compiled with only the members it uses.
#pragma once

#include <optional>
#include <string>

namespace tw {

struct WideTextTraits : std::char_traits<wchar_t> {};
using WideText = std::basic_string<wchar_t, WideTextTraits>;

// The 8-bit text in the active code page, widened; empty when it does not convert.
WideText WidenFromActiveCodePage(const char* text);
// UTF-8 text, widened.
WideText WidenFromUtf8(const char* text);
// The wide text in the active code page, only when every character has its
// exact 8-bit form there: Windows' best-fit mapping would turn U+FF3C into a
// backslash and U+FF0E into a dot, and so a harmless name into a path.
std::optional<std::string> NarrowExactly(const wchar_t* text);
// Digits and sign are the same in every code page.
WideText WidenAscii(const std::string& text);

}  // namespace tw
