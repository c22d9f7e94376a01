// The change log of an unattended run: one UTF-8 text file, appended to line
// by line. The program runs elevated and the log may lie in a folder that
// other users can write, so opening it must never be turned into writing
// somewhere else.
#pragma once

#include <string>

#include "platform/types.h"

namespace tw {

class LogFile {
 public:
  virtual ~LogFile() = default;
  // Opens the file at path (a Windows path in the active code page) for
  // appending, creating it when it is missing. Never truncates, never follows
  // a link or junction standing at the path, never writes to a file that has
  // other names (hard links) or is not a plain file. The Windows error code,
  // kErrorSuccess once open.
  virtual Status Open(const char* path) = 0;
  // Appends the text and a line end, handed to the system at once, so that a
  // crash leaves every line written before it.
  virtual Status AppendLine(const std::string& text) = 0;
  // The local time as "YYYY-MM-DD hh:mm:ss", for the log's header.
  virtual std::string LocalTime() = 0;
};

}  // namespace tw
