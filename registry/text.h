// 8-bit text in the active code page, which may be double-byte: case rules
// that never split or alter a double-byte character, and the pieces the
// language code is cut into.
#pragma once

#include <string>
#include <vector>

#include "platform/code_page.h"

namespace tw {

bool IsLeadByte(const CodePage& codePage, unsigned char byte);

// Lower-cases A..Z in place, leaving double-byte characters untouched.
std::string& LowercaseText(const CodePage& codePage, std::string& text);

// 0 when equal without regard to the case of A..Z; otherwise the difference
// of the first differing bytes. Only the first text's bytes decide where a
// double-byte character starts.
int CompareTextNoCase(const CodePage& codePage, const char* first, const char* second);

// Where each character of the text starts: a double-byte character is one.
std::vector<std::size_t> CharacterStarts(const CodePage& codePage, const std::string& text);

// The pieces below are cut at the byte positions the stored names were made
// with, widened or narrowed to whole characters: none begins or ends inside a
// double-byte character, whose trail byte may be a backslash.
// The last two bytes of the language code (the whole code when shorter).
std::string LanguageSuffix(const CodePage& codePage, const std::string& languageCode);

// The 4th and 5th bytes of the language code, as far as it has them.
std::string SoundEventSuffix(const CodePage& codePage, const std::string& languageCode);

// The first 8 bytes of the language code, upper-cased again.
std::string ShortLanguageCode(const CodePage& codePage, const std::string& languageCode);

}  // namespace tw
