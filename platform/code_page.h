// The active code page's view of 8-bit text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

class CodePage {
 public:
  virtual ~CodePage() = default;
  // Whether the byte starts a double-byte character.
  virtual bool IsLeadByte(unsigned char byte) const = 0;
  // The system's character upper-casing (CharUpperA), in place.
  virtual void Uppercase(std::string& text) const = 0;
  // Upper case as the file system matches names without regard to case:
  // each character's simple upper case (CompareStringOrdinal ignoring case),
  // whatever the user's language; a character whose capital the code page
  // lacks stays as it is, and no character changes its length.
  virtual void FoldCase(std::string& text) const = 0;
  // The text in UTF-8 (MultiByteToWideChar, then WideCharToMultiByte); bytes
  // that do not convert become U+FFFD.
  virtual std::string ToUtf8(const std::string& text) const = 0;

  // The walk over 8-bit text, one character at a time: the bytes (1 or 2)
  // of the character that starts at text[at]. A lead byte takes the byte
  // after it along, whatever that byte is; a lead byte at the end stands alone.
  std::size_t CharacterSize(std::string_view text, std::size_t at) const {
    return IsLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
  }
};

// A..Z and a..z alone, whatever the code page: no double-byte character has a
// lead byte below 0x80, but a trail byte may look like a letter, so callers
// fold only the bytes that start a character.
constexpr char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
// A drive letter, in 8-bit or UTF-16 text.
template <typename Char>
constexpr bool IsDriveLetter(Char c) {
  return (c >= Char('A') && c <= Char('Z')) || (c >= Char('a') && c <= Char('z'));
}

// The names a registry path is made of. Windows converts an 8-bit path to
// Unicode before it splits it, so a backslash separates only where it is a
// character of its own, never as the trail byte of a double-byte character;
// a run of backslashes separates like one.
inline std::vector<std::string> KeyPathParts(const CodePage& codePage, const std::string& path) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0, size = 0; i < path.size(); i += size) {
    size = codePage.CharacterSize(path, i);
    if (size == 2 || path[i] != '\\') {
      parts.back().append(path, i, size);
    } else if (!parts.back().empty()) {
      parts.emplace_back();
    }
  }
  if (parts.back().empty()) parts.pop_back();
  return parts;
}

}  // namespace tw
