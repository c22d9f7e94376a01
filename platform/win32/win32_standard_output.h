// Standard output of a GUI-subsystem program: the handle it was given (a
// redirection to a file or pipe), else the console of the process that
// started it. Text goes to a console as UTF-16, elsewhere as UTF-8.
#pragma once

#include "platform/standard_output.h"

namespace tw {

class Win32StandardOutput : public StandardOutput {
 public:
  void WriteLine(const std::string& text) override;
};

}  // namespace tw
