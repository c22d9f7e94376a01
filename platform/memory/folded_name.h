// Registry names match and sort by their upper-cased form, as on Windows. A
// double-byte character is kept whole: its trail byte may look like a small
// letter and is none. A null code page has no lead bytes.
#pragma once

#include <string>

#include "platform/code_page.h"

namespace tw {

inline std::string FoldedName(const std::string& name, const CodePage* codePage) {
  std::string folded = name;
  for (std::size_t i = 0; i < folded.size(); ++i) {
    char& c = folded[i];
    if (codePage && codePage->IsLeadByte(static_cast<unsigned char>(c))) {
      ++i;
    } else if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    }
  }
  return folded;
}

}  // namespace tw
