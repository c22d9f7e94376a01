#include "platform/overlay/preview_actions.h"

#include "platform/journal/journal_actions.h"

namespace tw {

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
  journal_.Change("engine library: would call " + EngineCallText(journal_, languageCode, userName));
  return 0;
}

RemovalLock::Taken PreviewRemovalLock::Take(std::uint32_t waitMilliseconds) {
  const Taken taken = inner_.Take(waitMilliseconds);
  if (taken == Taken::kYes || taken == Taken::kAbandoned) inner_.Give();
  return taken;
}

}  // namespace tw
