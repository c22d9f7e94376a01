// What a preview does instead of the actions it cannot take back: the engine
// library is not called and no program is started; the journal says what
// would be, a start that would fail as it would fail. They sit outside the
// journal's recorders, which see only the check of a start.
#pragma once

#include <cstdint>
#include <string>

#include "platform/journal/journal.h"
#include "platform/process_launcher.h"
#include "platform/removal_lock.h"
#include "platform/speech_engine.h"

namespace tw {

// Follows the answer to every box a preview does not show.
inline constexpr const char* kPreviewUnshown = " (preview, not shown)";

class PreviewLauncher : public ProcessLauncher {
 public:
  PreviewLauncher(ProcessLauncher& inner, Journal& journal) : inner_(inner), journal_(journal) {}

  std::uint32_t Start(const char* commandLine, std::uint32_t showCommand) override;
  // Nothing runs, so exitCode is left as it is.
  std::uint32_t RunToEnd(const char* commandLine, std::uint32_t showCommand, std::uint32_t* exitCode) override;
  std::uint32_t MayStart(const char* commandLine) override { return inner_.MayStart(commandLine); }

 private:
  ProcessLauncher& inner_;
  Journal& journal_;
};

class PreviewSpeechEngine : public SpeechEngine {
 public:
  explicit PreviewSpeechEngine(Journal& journal) : journal_(journal) {}

  // Succeeds without a call.
  std::int32_t UninstallSpeechUser(WindowHandle window, InstanceHandle instance, const char* languageCode,
                                   const char* userName) override;

 private:
  Journal& journal_;
};

// A preview waits for a removal under way to end, so that it reads what that
// removal leaves, but does not hold the lock while it reads: a real removal
// never waits for a report. Nothing is finished in its name either way.
class PreviewRemovalLock : public RemovalLock {
 public:
  explicit PreviewRemovalLock(RemovalLock& inner) : inner_(inner) {}

  Taken Take(std::uint32_t waitMilliseconds) override;
  void Give() override {}

 private:
  RemovalLock& inner_;
};

}  // namespace tw
