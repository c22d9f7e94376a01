// Program start through WinExec.
#pragma once

#include "platform/process_launcher.h"

namespace tw {

class Win32ProcessLauncher : public ProcessLauncher {
 public:
  std::uint32_t Start(const char* commandLine, std::uint32_t showCommand) override;
};

}  // namespace tw
