// Program start through CreateProcess of exactly the named program, with or
// without a wait for its end.
#pragma once

#include "platform/process_launcher.h"

namespace tw {

class Win32ProcessLauncher : public ProcessLauncher {
 public:
  std::uint32_t Start(const char* commandLine, std::uint32_t showCommand) override;
  std::uint32_t RunToEnd(const char* commandLine, std::uint32_t showCommand, std::uint32_t* exitCode) override;
  std::uint32_t MayStart(const char* commandLine) override;
};

}  // namespace tw
