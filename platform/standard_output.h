// Standard output, where a preview's report goes besides the log: a
// redirection ("> preview.txt") or the console the program was started from.
#pragma once

#include <string>

namespace tw {

class StandardOutput {
 public:
  virtual ~StandardOutput() = default;
  // Writes one line of UTF-8 text and a line end; nowhere when the program
  // has neither a redirection nor a console.
  virtual void WriteLine(const std::string& text) = 0;
};

}  // namespace tw
