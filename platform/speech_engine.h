#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace tw {

class SpeechEngine {
 public:
  virtual ~SpeechEngine() = default;
  // spchcfg.cpl's UninstallSpeechUser. An engine library that is not there
  // makes this a silent no-op.
  virtual std::int32_t UninstallSpeechUser(WindowHandle window, InstanceHandle instance, const char* languageCode,
                                           const char* userName) = 0;
  // The library in the engine's own folder when it was passed over because
  // others than the machine's administrators could change it or its folder
  // (the system folder held none); empty otherwise.
  virtual std::string PassedOverLibrary() const { return std::string(); }
  // Looks for the library as the call does, and passes over what the call
  // would, but loads and calls nothing: for a run that tells what it would do.
  virtual void CheckLibrary() {}
};

}  // namespace tw
