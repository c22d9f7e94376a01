#pragma once

#include <cstdint>

namespace tw {

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // WinExec: a result below 32 means the program did not start.
  virtual std::uint32_t Start(const char* commandLine, std::uint32_t showCommand) = 0;
  // CreateProcess with the show command in the start-up information, then
  // waits for the program to end. The result follows Start's convention
  // (below 32: not started, the error code); exitCode receives the program's
  // exit code once it has ended.
  virtual std::uint32_t RunToEnd(const char* commandLine, std::uint32_t showCommand, std::uint32_t* exitCode) = 0;
  // Whether the program would start, without starting it: the program the
  // command line names, found as CreateProcess finds it, exists and is a
  // file. Start's convention: 32 or more, or the error a start would meet.
  virtual std::uint32_t MayStart(const char* commandLine) = 0;
};

}  // namespace tw
