// A run's log and a preview's report side by side: the lines after the
// header, with what was done in the words of what would be, so that the two
// must be equal line for line and in order.
#pragma once

#include <string>
#include <vector>

namespace tw::test {

std::vector<std::string> ChangeLines(const std::vector<std::string>& journal);
// The same of a whole text, its lines ended by "\n" or "\r\n".
std::vector<std::string> ChangeLines(const std::string& journal);
// "" when equal, else where and how the two first differ.
std::string FirstDifference(const std::vector<std::string>& preview, const std::vector<std::string>& logged);

}  // namespace tw::test
