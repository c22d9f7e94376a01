#include "registry/text.h"

#include <algorithm>
#include <string_view>

namespace tw {

bool IsLeadByte(const CodePage& codePage, unsigned char byte) { return codePage.IsLeadByte(byte); }

std::string& LowercaseText(const CodePage& codePage, std::string& text) {
  // The text ends at its first terminator, as it does for the C string it
  // stands for; a trail byte stays as it is.
  const std::string_view c(text.data(), std::min(text.find('\0'), text.size()));
  for (std::size_t i = 0, size = 0; i < c.size(); i += size) {
    size = codePage.CharacterSize(c, i);
    if (size == 1) text[i] = LowerAscii(text[i]);
  }
  return text;
}

int CompareTextNoCase(const CodePage& codePage, const char* first, const char* second) {
  for (;;) {
    const signed char a = static_cast<signed char>(*first++);
    const signed char b = static_cast<signed char>(*second++);
    if (IsLeadByte(codePage, static_cast<unsigned char>(a))) {
      if (a != b) return a - b;
      const signed char trailA = static_cast<signed char>(*first++);
      const signed char trailB = static_cast<signed char>(*second++);
      if (trailA != trailB) return trailA - trailB;
      if (trailA == 0) return 0;
      continue;
    }
    const signed char upperA = static_cast<signed char>(UpperAscii(a));
    const signed char upperB = static_cast<signed char>(UpperAscii(b));
    if (upperA != upperB) return upperA - upperB;
    if (upperA == 0) return 0;
  }
}

std::vector<std::size_t> CharacterStarts(const CodePage& codePage, const std::string& text) {
  std::vector<std::size_t> starts;
  // A lead byte takes its trail byte along, also when that byte is a backslash.
  for (std::size_t i = 0; i < text.size(); i += codePage.CharacterSize(text, i)) starts.push_back(i);
  return starts;
}

namespace {

// The start of the character that holds the byte at position.
std::size_t CharacterStartAtOrBefore(const std::vector<std::size_t>& starts, std::size_t position) {
  std::size_t start = 0;
  for (std::size_t candidate : starts) {
    if (candidate > position) break;
    start = candidate;
  }
  return start;
}

// The first position at or after position where a character starts (or the end).
std::size_t CharacterStartAtOrAfter(const std::vector<std::size_t>& starts, std::size_t position, std::size_t size) {
  for (std::size_t candidate : starts) {
    if (candidate >= position) return candidate;
  }
  return size;
}

}  // namespace

std::string LanguageSuffix(const CodePage& codePage, const std::string& languageCode) {
  if (languageCode.size() <= 2) return languageCode;
  const auto starts = CharacterStarts(codePage, languageCode);
  return languageCode.substr(CharacterStartAtOrBefore(starts, languageCode.size() - 2));
}

std::string SoundEventSuffix(const CodePage& codePage, const std::string& languageCode) {
  if (languageCode.size() <= 3) return std::string();
  const auto starts = CharacterStarts(codePage, languageCode);
  const std::size_t first = CharacterStartAtOrBefore(starts, 3);
  const std::size_t end = CharacterStartAtOrAfter(starts, 5, languageCode.size());
  return languageCode.substr(first, end - first);
}

std::string ShortLanguageCode(const CodePage& codePage, const std::string& languageCode) {
  // Cut at 8 bytes, as the stored keys were named, but before a character
  // that the cut would split; then the byte-wise upper-casing, which must not
  // alter a trail byte.
  const std::size_t end =
      languageCode.size() <= 8 ? languageCode.size() : CharacterStartAtOrBefore(CharacterStarts(codePage, languageCode), 8);
  std::string code = languageCode.substr(0, end);
  for (std::size_t i = 0, size = 0; i < code.size(); i += size) {
    size = codePage.CharacterSize(code, i);
    if (size == 1) code[i] = UpperAscii(code[i]);
  }
  return code;
}

}  // namespace tw
