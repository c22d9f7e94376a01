#pragma once

#include <cstdint>

#include "platform/types.h"

namespace tw {

class SpeechEngine {
 public:
  virtual ~SpeechEngine() = default;
  // spchcfg.cpl's UninstallSpeechUser. An engine library that is not there
  // makes this a silent no-op.
  virtual std::int32_t UninstallSpeechUser(WindowHandle window, InstanceHandle instance, const char* languageCode,
                                           const char* userName) = 0;
};

}  // namespace tw
