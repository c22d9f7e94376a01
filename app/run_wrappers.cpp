#include "app/run_wrappers.h"

#include "platform/journal/journal_launcher.h"
#include "platform/journal/journal_speech_engine.h"
#include "platform/types.h"

namespace tw {
namespace {

int QuietAnswer(std::uint32_t flags) { return (flags & 0x0F) == kMbYesNo ? kIdYes : kIdOk; }

}  // namespace

void QuietMessageBoxes::EnableThreeDimensionalLook() {
  if (!quiet_) inner_.EnableThreeDimensionalLook();
}

int QuietMessageBoxes::Show(std::uint32_t textId, std::uint32_t flags) {
  return quiet_ ? QuietAnswer(flags) : inner_.Show(textId, flags);
}

int QuietMessageBoxes::ShowFormatted(std::uint32_t textId, std::uint32_t flags, int number, const char* text) {
  return quiet_ ? QuietAnswer(flags) : inner_.ShowFormatted(textId, flags, number, text);
}

std::uint32_t WaitingLauncher::Start(const char* commandLine, std::uint32_t showCommand) {
  if (!wait_) return inner_.Start(commandLine, showCommand);
  std::uint32_t exitCode = 0;
  return inner_.RunToEnd(commandLine, showCommand, &exitCode);
}

std::uint32_t PreviewLauncher::Start(const char* commandLine, std::uint32_t /*showCommand*/) {
  const std::uint32_t result = inner_.MayStart(commandLine);
  RecordStart(journal_, commandLine, result, "uninstaller would be started: ");
  return result;
}

std::uint32_t PreviewLauncher::RunToEnd(const char* commandLine, std::uint32_t showCommand,
                                        std::uint32_t* /*exitCode*/) {
  return Start(commandLine, showCommand);
}

std::int32_t PreviewSpeechEngine::UninstallSpeechUser(WindowHandle /*window*/, InstanceHandle /*instance*/,
                                                      const char* languageCode, const char* userName) {
  inner_.CheckLibrary();
  TellPassedOver(journal_, inner_, &passedOverTold_);
  journal_.Change("engine library: would call " + EngineCallText(journal_, languageCode, userName));
  return 0;
}

RemovalLock::Taken PreviewRemovalLock::Take(std::uint32_t waitMilliseconds) {
  const Taken taken = inner_.Take(waitMilliseconds);
  if (taken == Taken::kYes || taken == Taken::kAbandoned) inner_.Give();
  return taken;
}

}  // namespace tw
