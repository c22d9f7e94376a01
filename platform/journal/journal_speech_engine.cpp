#include "platform/journal/journal_speech_engine.h"

namespace tw {

std::string EngineCallText(const Journal& journal, const char* languageCode, const char* userName) {
  return "UninstallSpeechUser(language " + journal.Utf8(languageCode) + ", user " + journal.Utf8(userName) + ")";
}

void TellPassedOver(Journal& journal, const SpeechEngine& engine, bool* told) {
  const std::string passedOver = engine.PassedOverLibrary();
  if (passedOver.empty() || *told) return;
  journal.Refusal("engine library " + journal.Utf8(passedOver) +
                  ": others than Administrators, SYSTEM and TrustedInstaller can change it or its folder");
  *told = true;
}

std::int32_t JournalSpeechEngine::UninstallSpeechUser(WindowHandle window, InstanceHandle instance,
                                                      const char* languageCode, const char* userName) {
  const std::string call = EngineCallText(journal_, languageCode, userName);
  const std::int32_t result = inner_.UninstallSpeechUser(window, instance, languageCode, userName);
  TellPassedOver(journal_, inner_, &passedOverTold_);
  journal_.Change("engine library: " + call + " returned " + std::to_string(result));
  return result;
}

}  // namespace tw
