// A run's log and a preview's report side by side: the lines after the
// header, with what was done in the words of what would be, so that the two
// must be equal line for line and in order.
#pragma once

#include <string>
#include <vector>

#include "platform/log_file.h"

namespace tw::test {

// A log kept in memory, so that the run's log leaves the disk as it was.
class LinesLog : public LogFile {
 public:
  Status Open(const char*) override { return kErrorSuccess; }
  Status AppendLine(const std::string& text) override {
    lines.push_back(text);
    return kErrorSuccess;
  }
  std::string LocalTime() override { return "2026-01-01 00:00:00"; }
  std::vector<std::string> lines;
};

std::vector<std::string> ChangeLines(const std::vector<std::string>& journal);
// The lines of a whole text, ended by "\n" or "\r\n".
std::vector<std::string> LogLines(const std::string& text);
// The same as ChangeLines of a whole text.
std::vector<std::string> ChangeLines(const std::string& journal);
// How many of the lines are changes: values set or deleted (not those said
// to be unchanged), keys deleted, files and folders deleted, attributes
// set, shortcuts re-pointed, the engine call and the uninstaller's start.
int ListedChanges(const std::vector<std::string>& journal);
// The changes the summary line counts; -1 when there is none.
int SummaryChanges(const std::vector<std::string>& journal);
// "" when equal, else where and how the two first differ.
std::string FirstDifference(const std::vector<std::string>& preview, const std::vector<std::string>& logged);

}  // namespace tw::test
