#include "platform/journal/report_file.h"

namespace tw {

Status ReportFile::Open(const char* path) { return log_.Open(path); }

Status ReportFile::AppendLine(const std::string& text) {
  output_.WriteLine(text);
  return toLog_ ? log_.AppendLine(text) : kErrorSuccess;
}

std::string ReportFile::LocalTime() { return log_.LocalTime(); }

}  // namespace tw
