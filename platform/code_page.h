// The active code page's view of 8-bit text.
#pragma once

#include <string>

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

}  // namespace tw
