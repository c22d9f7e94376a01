#include "registry/blank_separated.h"

namespace tw {

std::vector<std::string> SplitAtBlanks(const std::string& text) {
  std::vector<std::string> words;
  std::size_t start = text.find_first_not_of(' ');
  while (start != std::string::npos) {
    const std::size_t end = text.find(' ', start);
    words.push_back(text.substr(start, end - start));
    start = text.find_first_not_of(' ', end);
  }
  return words;
}

}  // namespace tw
