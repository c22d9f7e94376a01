// Where a preview's report goes: every line to standard output, and to the
// log file as well when the command line names one.
#pragma once

#include "platform/log_file.h"
#include "platform/standard_output.h"

namespace tw {

class ReportFile : public LogFile {
 public:
  ReportFile(LogFile& log, bool toLog, StandardOutput& output) : log_(log), toLog_(toLog), output_(output) {}

  Status Open(const char* path) override;
  Status AppendLine(const std::string& text) override;
  std::string LocalTime() override;

 private:
  LogFile& log_;
  bool toLog_;
  StandardOutput& output_;
};

}  // namespace tw
