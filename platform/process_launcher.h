#pragma once

#include <cstdint>

namespace tw {

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // WinExec: a result below 32 means the program did not start.
  virtual std::uint32_t Start(const char* commandLine, std::uint32_t showCommand) = 0;
};

}  // namespace tw
