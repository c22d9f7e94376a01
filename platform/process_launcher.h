#pragma once

#include <cstdint>

namespace tw {

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // The program a command line names is the text between its leading
  // quotes, or else its first word, and must be a fully qualified path: it is
  // started as named, with no search and no extension added, the command
  // line handed to it as it stands.
  // Starts the program and returns at once. WinExec's convention: a result
  // below 32 means the program did not start (the error code).
  virtual std::uint32_t Start(const char* commandLine, std::uint32_t showCommand) = 0;
  // Starts the program as Start does, then waits for it to end. The result
  // follows Start's convention; exitCode receives the program's exit code
  // once it has ended.
  virtual std::uint32_t RunToEnd(const char* commandLine, std::uint32_t showCommand, std::uint32_t* exitCode) = 0;
  // Whether the program would start, without starting it: the program the
  // command line names exists and is a file. Start's convention: 32 or
  // more, or the error a start would meet.
  virtual std::uint32_t MayStart(const char* commandLine) = 0;
};

}  // namespace tw
