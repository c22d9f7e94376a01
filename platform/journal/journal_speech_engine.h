// The engine library's call written to the journal with its result, and the
// library the call passed over, once.
#pragma once

#include <cstdint>
#include <string>

#include "platform/journal/journal.h"
#include "platform/speech_engine.h"

namespace tw {

// The engine call as the journal names it.
std::string EngineCallText(const Journal& journal, const char* languageCode, const char* userName);
// The refusal of the library engine passed over, if any, unless told is set;
// sets it once told.
void TellPassedOver(Journal& journal, const SpeechEngine& engine, bool* told);

class JournalSpeechEngine : public SpeechEngine {
 public:
  JournalSpeechEngine(SpeechEngine& inner, Journal& journal) : inner_(inner), journal_(journal) {}

  std::int32_t UninstallSpeechUser(WindowHandle window, InstanceHandle instance, const char* languageCode,
                                   const char* userName) override;
  std::string PassedOverLibrary() const override { return inner_.PassedOverLibrary(); }
  void CheckLibrary() override { inner_.CheckLibrary(); }

 private:
  SpeechEngine& inner_;
  Journal& journal_;
  bool passedOverTold_ = false;
};

}  // namespace tw
