// Registry names match and sort by their upper-cased form, as on Windows.
#pragma once

#include <string>

namespace tw {

inline std::string FoldedName(const std::string& name) {
  std::string folded = name;
  for (char& c : folded) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return folded;
}

}  // namespace tw
