// The change journal of a run: every change and every failed change, in the
// order made, as lines of the log. The decorators of the platform services
// write into it; without a log file it keeps only its counts.
#pragma once

#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/log_file.h"
#include "platform/types.h"

namespace tw {

class Journal {
 public:
  // file may be null: nothing is written, the counts are kept.
  Journal(LogFile* file, const CodePage& codePage) : file_(file), codePage_(codePage) {}

  bool Writes() const { return file_ != nullptr; }
  // Text of the system (names, paths, data) in the active code page, for a line.
  std::string Utf8(const std::string& text) const { return codePage_.ToUtf8(text); }

  // Each text below is one line of the log: control characters in it,
  // line ends included, are written escaped.
  // A line that is not a change (header, message, summary), UTF-8.
  void Note(const std::string& line);
  // A change made, UTF-8.
  void Change(const std::string& line);
  // A change that failed, with the Windows error code.
  void Failure(const std::string& what, Status error);
  // Changes not even tried, UTF-8: counted as a failure.
  void Refusal(const std::string& what);
  // A registry change: line is a .reg value line (UTF-8) of key (in the
  // active code page), written below "[key]" unless the previous line was of
  // the same key. A write that left the value as it was is written the same
  // way and not counted (changed false).
  void RegistryChange(const std::string& key, const std::string& line, bool changed = true);
  // A deleted key (in the active code page) and the .reg lines (UTF-8) of the
  // values it held.
  void KeyDeleted(const std::string& key, const std::vector<std::string>& valueLines);

  int Changes() const { return changes_; }
  int Failures() const { return failures_; }

 private:
  // Every line of the journal goes out through here, as one line.
  void Write(const std::string& line);

  LogFile* file_;
  const CodePage& codePage_;
  std::string currentKey_;  // of the last registry line; empty after any other
  int changes_ = 0;
  int failures_ = 0;
};

}  // namespace tw
