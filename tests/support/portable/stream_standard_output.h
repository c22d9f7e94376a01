// Standard output as a C++ stream: std::cout, or a string stream in tests.
#pragma once

#include <ostream>

#include "platform/standard_output.h"

namespace tw {

class StreamStandardOutput : public StandardOutput {
 public:
  explicit StreamStandardOutput(std::ostream& stream) : stream_(stream) {}
  void WriteLine(const std::string& text) override { stream_ << text << '\n' << std::flush; }

 private:
  std::ostream& stream_;
};

}  // namespace tw
