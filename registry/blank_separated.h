// Lists stored as one text of names separated by blanks.
#pragma once

#include <string>
#include <vector>

namespace tw {

// The words of the text in order. Only the blank separates: a tab or any
// other byte is part of a word. Runs of blanks count as one separator, and
// leading or trailing blanks yield no word.
std::vector<std::string> SplitAtBlanks(const std::string& text);

}  // namespace tw
