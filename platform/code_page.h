// The active code page's view of 8-bit text.
#pragma once

#include <string>
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
};

// The names a registry path is made of. Windows converts an 8-bit path to
// Unicode before it splits it, so a backslash separates only where it is a
// character of its own, never as the trail byte of a double-byte character;
// a run of backslashes separates like one.
inline std::vector<std::string> KeyPathParts(const CodePage& codePage, const std::string& path) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (codePage.IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
      parts.back() += path[i++];
      parts.back() += path[i];
    } else if (path[i] != '\\') {
      parts.back() += path[i];
    } else if (!parts.back().empty()) {
      parts.emplace_back();
    }
  }
  if (parts.back().empty()) parts.pop_back();
  return parts;
}

}  // namespace tw
