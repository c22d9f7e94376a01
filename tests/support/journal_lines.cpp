#include "tests/support/journal_lines.h"

#include <algorithm>
#include <sstream>

namespace tw::test {

std::vector<std::string> ChangeLines(const std::vector<std::string>& journal) {
  std::vector<std::string> changes;
  for (std::string line : journal) {
    if (line.rfind("==== ", 0) == 0 || line.rfind("command line: ", 0) == 0 || line.rfind("switches: ", 0) == 0) {
      continue;
    }
    const std::string engine = "engine library: UninstallSpeechUser";
    if (line.rfind(engine, 0) == 0) line = "engine library: would call " + line.substr(16, line.rfind(" returned ") - 16);
    const std::size_t quiet = line.rfind(" (quiet, not shown)");
    if (line.rfind("message: ", 0) == 0 && quiet != std::string::npos) line.replace(quiet, 7, " (preview");
    // The ledger's record of when the removal finished (and its checksum): a second apart, maybe.
    const std::string released = "\"Released\"=\"";
    if (line.rfind(released, 0) == 0) line = released + "(time)" + line.substr(line.find('"', released.size()));
    const std::string started = "uninstaller started: ";
    if (line.rfind(started, 0) == 0) line = "uninstaller would be started: " + line.substr(started.size());
    changes.push_back(line);
  }
  return changes;
}

std::vector<std::string> ChangeLines(const std::string& journal) {
  std::vector<std::string> lines;
  std::istringstream text(journal);
  for (std::string line; std::getline(text, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return ChangeLines(lines);
}

std::string FirstDifference(const std::vector<std::string>& preview, const std::vector<std::string>& logged) {
  const auto differ = std::mismatch(preview.begin(), preview.end(), logged.begin(), logged.end());
  if (differ.first == preview.end() && differ.second == logged.end()) return "";
  return "the preview differs from the run's log at line " + std::to_string(differ.first - preview.begin()) +
         ":\n  preview: " + (differ.first == preview.end() ? "(end)" : *differ.first) +
         "\n  log:     " + (differ.second == logged.end() ? "(end)" : *differ.second);
}

}  // namespace tw::test
