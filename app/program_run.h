// The program from its command line to its exit code. Without switches it is
// the interactive removal it has always been: the same boxes, WinExec, exit
// code 0 whatever happened. With switches, the unattended removal: no boxes
// when quiet, the uninstaller waited for, a change log, an exit code that
// says what happened.
#pragma once

#include <string>

#include "platform/log_file.h"
#include "platform/platform.h"

namespace tw {

// commandLine is the text after the program name; log is opened only when
// the command line asks for a log.
int RunProgram(const Platform& platform, LogFile& log, const std::string& commandLine, InstanceHandle instance);

}  // namespace tw
