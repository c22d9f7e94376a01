// A Windows path as the overlay keys it: case folded as the file system
// folds it, one kind of separator, no trailing separator below a drive's
// root. A double-byte character is kept whole: its trail byte may look like a
// small letter or a backslash and is neither.
#pragma once

#include <algorithm>
#include <string>

#include "platform/code_page.h"

namespace tw {

inline bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Where the last separator lies that is not inside a double-byte character;
// npos when there is none.
inline std::size_t LastSeparator(const std::string& path, const CodePage& codePage) {
  std::size_t last = std::string::npos;
  for (std::size_t i = 0, size = 0; i < path.size(); i += size) {
    size = codePage.CharacterSize(path, i);
    if (size == 1 && IsSeparator(path[i])) last = i;
  }
  return last;
}

inline std::string FoldedPath(const std::string& path, const CodePage& codePage) {
  std::string key;
  std::size_t kept = 0;  // the length up to the last byte that is no separator
  for (std::size_t i = 0, size = 0; i < path.size(); i += size) {
    size = codePage.CharacterSize(path, i);
    const bool separator = size == 1 && IsSeparator(path[i]);
    if (separator) {
      key += '\\';
    } else {
      key.append(path, i, size);
      kept = key.size();
    }
  }
  if (key.size() > 3) key.resize(std::max<std::size_t>(kept, 3));
  codePage.FoldCase(key);
  return key;
}

}  // namespace tw
