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
  // The text in UTF-8 (MultiByteToWideChar, then WideCharToMultiByte); bytes
  // that do not convert become U+FFFD.
  virtual std::string ToUtf8(const std::string& text) const = 0;
};

}  // namespace tw
