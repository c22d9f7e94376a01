// The program from its command line to its exit code. Without switches it is
// the interactive removal it has always been: the same boxes, no wait for
// the uninstaller, exit code 0 whatever happened. With switches, the
// unattended removal: no boxes when quiet, the uninstaller waited for, a
// change log, an exit code that says what happened. A preview runs the
// removal against an overlay of the machine and reports what it would change.
#pragma once

#include <string>

#include "platform/log_file.h"
#include "platform/platform.h"
#include "platform/standard_output.h"

namespace tw {

// commandLine is the text after the program name; log is opened only when
// the command line asks for a log; a preview's report goes to output too.
int RunProgram(const Platform& platform, LogFile& log, StandardOutput& output, const std::string& commandLine,
               InstanceHandle instance);

}  // namespace tw
