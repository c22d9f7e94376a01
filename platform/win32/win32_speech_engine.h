// The speech engine's control-panel library spchcfg.cpl, bound on first use.
#pragma once

#include "platform/speech_engine.h"

namespace tw {

class Win32SpeechEngine : public SpeechEngine {
 public:
  std::int32_t UninstallSpeechUser(WindowHandle window, InstanceHandle instance, const char* languageCode,
                                   const char* userName) override;

 private:
  // The export as GetProcAddress gives it; its real signature lives beside
  // the call, with the Win32 types.
  using ExportedFunction = void (*)();

  void Bind();

  bool bound_ = false;
  ExportedFunction uninstallSpeechUser_ = nullptr;
};

}  // namespace tw
