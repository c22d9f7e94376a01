#include "platform/journal/journal.h"

#include "platform/journal/reg_syntax.h"

namespace tw {

void Journal::Write(const std::string& line) {
  if (file_ == nullptr) return;
  // Names, data and paths are the system's and may hold any character: a
  // line end or other control character among them is written as <0A> and
  // the like, so that no text can start a line the run never wrote. A
  // failing disk does not stop the removal.
  std::string escaped;
  for (char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      escaped += "<" + HexDigits(byte, 2) + ">";
    } else {
      escaped += c;
    }
  }
  file_->AppendLine(escaped);
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

void Journal::RegistryChange(const std::string& key, const std::string& line, bool changed) {
  if (changed) ++changes_;
  if (key != currentKey_) Write("[" + Utf8(key) + "]");
  currentKey_ = key;
  Write(line);
}

void Journal::KeyDeleted(const std::string& key, const std::vector<std::string>& valueLines) {
  ++changes_;
  Note("[-" + Utf8(key) + "]");
  for (const std::string& line : valueLines) Write("; was " + line);
}

}  // namespace tw
