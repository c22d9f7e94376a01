#include "registry/text.h"

namespace tw {
namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool IsLeadByte(const CodePage& codePage, unsigned char byte) { return codePage.IsLeadByte(byte); }

std::string& LowercaseText(const CodePage& codePage, std::string& text) {
  // The text ends at its first terminator, as it does for the C string it stands for.
  for (std::size_t i = 0; i < text.size() && text[i] != '\0'; ++i) {
    if (IsLeadByte(codePage, static_cast<unsigned char>(text[i]))) {
      ++i;  // the trail byte stays as it is; a lone lead byte at the end stops the walk
      if (i < text.size() && text[i] == '\0') break;
      continue;
    }
    text[i] = LowerAscii(text[i]);
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

std::string LanguageSuffix(const std::string& languageCode) {
  return languageCode.size() <= 2 ? languageCode : languageCode.substr(languageCode.size() - 2);
}

std::string SoundEventSuffix(const std::string& languageCode) {
  return languageCode.size() <= 3 ? std::string() : languageCode.substr(3, 2);
}

std::string ShortLanguageCode(const CodePage& codePage, const std::string& languageCode) {
  // Cut at 8 bytes, as the stored keys were named; then the byte-wise
  // upper-casing, which must not alter a trail byte of a double-byte character.
  std::string code = languageCode.substr(0, 8);
  for (std::size_t i = 0; i < code.size(); ++i) {
    if (IsLeadByte(codePage, static_cast<unsigned char>(code[i]))) {
      ++i;
      continue;
    }
    code[i] = UpperAscii(code[i]);
  }
  return code;
}

}  // namespace tw
