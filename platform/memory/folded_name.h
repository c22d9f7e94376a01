// Registry names match and sort by their upper-cased form, as on Windows:
// each character's simple upper case as the code page folds it. A
// double-byte character is kept whole: its trail byte may look like a small
// letter and is none.
#pragma once

#include <string>

#include "platform/code_page.h"

namespace tw {

inline std::string FoldedName(const std::string& name, const CodePage& codePage) {
  std::string folded = name;
  codePage.FoldCase(folded);
  return folded;
}

}  // namespace tw
