// Where a preview's report goes: every line to standard output, and to the
// log file as well when the command line names one.
#pragma once

#include "platform/log_file.h"
#include "platform/standard_output.h"

namespace tw {

class ReportFile : public LogFile {
 public:
  ReportFile(LogFile& log, bool toLog, StandardOutput& output) : log_(log), toLog_(toLog), output_(output) {}

  Status Open(const char* path) override { return log_.Open(path); }
  Status AppendLine(const std::string& text) override {
    output_.WriteLine(text);
    return toLog_ ? log_.AppendLine(text) : kErrorSuccess;
  }
  std::string LocalTime() override { return log_.LocalTime(); }

 private:
  LogFile& log_;
  bool toLog_;
  StandardOutput& output_;
};

}  // namespace tw
