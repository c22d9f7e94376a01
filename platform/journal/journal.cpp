#include "platform/journal/journal.h"

namespace tw {

void Journal::Write(const std::string& text) {
  if (file_ == nullptr) return;
  // One log line per text line; a failing disk does not stop the removal.
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find('\n', start);
    file_->AppendLine(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

void Journal::Note(const std::string& line) {
  currentKey_.clear();
  Write(line);
}

void Journal::Change(const std::string& line) {
  ++changes_;
  Note(line);
}

void Journal::Failure(const std::string& what, Status error) {
  ++failures_;
  Note("failed (error " + std::to_string(error) + "): " + what);
}

void Journal::Refusal(const std::string& what) {
  ++failures_;
  Note("refused: " + what);
}

void Journal::RegistryChange(const std::string& key, const std::string& line) {
  ++changes_;
  if (key != currentKey_) Write("[" + Utf8(key) + "]");
  currentKey_ = key;
  Write(Utf8(line));
}

void Journal::KeyDeleted(const std::string& key, const std::vector<std::string>& valueLines) {
  ++changes_;
  Note("[-" + Utf8(key) + "]");
  for (const std::string& line : valueLines) Write("; was " + Utf8(line));
}

}  // namespace tw
