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

std::vector<std::string> LogLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> ChangeLines(const std::string& journal) { return ChangeLines(LogLines(journal)); }

int ListedChanges(const std::vector<std::string>& journal) {
  const auto unchanged = [](const std::string& line) {
    const std::string note = "  ; unchanged";
    return line.size() >= note.size() && line.compare(line.size() - note.size(), note.size(), note) == 0;
  };
  int changes = 0;
  for (const std::string& line : journal) {
    bool change = ((line.rfind('"', 0) == 0 || line.rfind('@', 0) == 0) && !unchanged(line)) || line.rfind("[-", 0) == 0;
    for (const char* kind : {"file deleted: ", "folder deleted: ", "read-only attribute cleared: ", "attributes set to ",
                             "shortcut re-pointed: ", "engine library: ", "uninstaller started: ",
                             "uninstaller would be started: "}) {
      change = change || line.rfind(kind, 0) == 0;
    }
    changes += change ? 1 : 0;
  }
  return changes;
}

int SummaryChanges(const std::vector<std::string>& journal) {
  for (const std::string& line : journal) {
    if (line.rfind("summary: ", 0) != 0) continue;
    const std::size_t count = line.rfind(" changes, ");
    const std::size_t start = line.rfind(", ", count);
    if (count != std::string::npos && start != std::string::npos) return std::stoi(line.substr(start + 2, count - start - 2));
  }
  return -1;
}

std::string FirstDifference(const std::vector<std::string>& preview, const std::vector<std::string>& logged) {
  const auto differ = std::mismatch(preview.begin(), preview.end(), logged.begin(), logged.end());
  if (differ.first == preview.end() && differ.second == logged.end()) return "";
  return "the preview differs from the run's log at line " + std::to_string(differ.first - preview.begin()) +
         ":\n  preview: " + (differ.first == preview.end() ? "(end)" : *differ.first) +
         "\n  log:     " + (differ.second == logged.end() ? "(end)" : *differ.second);
}

}  // namespace tw::test
