// A Windows path as the overlay keys it: case folded (ASCII only, so that a
// double-byte character's trail byte stays as it is), one kind of separator,
// no trailing separator below a drive's root.
#pragma once

#include <string>

namespace tw {

inline std::string FoldedPath(const std::string& path) {
  std::string key = path;
  for (char& c : key) {
    if (c == '/') c = '\\';
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  while (key.size() > 3 && key.back() == '\\') key.pop_back();
  return key;
}

}  // namespace tw
