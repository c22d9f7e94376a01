// Registry names match and sort by their upper-cased form, as on Windows. A
// double-byte character is kept whole: its trail byte may look like a small
// letter and is none. A null code page has no lead bytes.
#pragma once

#include <string>

#include "platform/code_page.h"

namespace tw {

inline std::string FoldedName(const std::string& name, const CodePage* codePage) {
  std::string folded = name;
  for (std::size_t i = 0, size = 0; i < folded.size(); i += size) {
    size = codePage ? codePage->CharacterSize(folded, i) : 1;
    if (size == 1) folded[i] = UpperAscii(folded[i]);
  }
  return folded;
}

}  // namespace tw
