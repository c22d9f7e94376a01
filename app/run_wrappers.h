// The services a run puts around the platform's own: boxes answered without
// being shown, a start that waits for the program to end, and what a preview
// does instead of the actions it cannot take back (the engine library is not
// called, no program is started, the lock is not kept). A preview's stand-ins
// check as the real actions check and the journal says what would be, a
// start that would fail as it would fail; they sit outside the journal's
// recorders, which see only the check of a start.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "platform/journal/journal.h"
#include "platform/message_boxes.h"
#include "platform/process_launcher.h"
#include "platform/removal_lock.h"
#include "platform/speech_engine.h"

namespace tw {

// Follows the answer to every box a quiet run does not show.
inline constexpr const char* kQuietUnshown = " (quiet, not shown)";
// The same when no one could see the box: no interactive desktop.
inline constexpr const char* kNoDesktopUnshown = " (no interactive desktop, not shown)";
// The same in a preview.
inline constexpr const char* kPreviewUnshown = " (preview, not shown)";

// Quiet, no box is shown: a Yes/No box is answered Yes, any other OK.
class QuietMessageBoxes : public MessageBoxes {
 public:
  // unshown: what the journal says after each answer when quiet.
  QuietMessageBoxes(MessageBoxes& inner, bool quiet, std::string unshown = kQuietUnshown)
      : inner_(inner), quiet_(quiet), unshown_(std::move(unshown)) {}

  void EnableThreeDimensionalLook() override;
  int Show(std::uint32_t textId, std::uint32_t flags) override;
  int ShowFormatted(std::uint32_t textId, std::uint32_t flags, int number, const char* text) override;
  bool DesktopVisible() override { return inner_.DesktopVisible(); }

  // The note for the journal after each answer: empty when boxes are shown.
  std::string AnswerNote() const { return quiet_ ? unshown_ : std::string(); }

 private:
  MessageBoxes& inner_;
  bool quiet_;
  std::string unshown_;
};

// With wait, a start runs the program to its end.
class WaitingLauncher : public ProcessLauncher {
 public:
  WaitingLauncher(ProcessLauncher& inner, bool wait) : inner_(inner), wait_(wait) {}

  std::uint32_t Start(const char* commandLine, std::uint32_t showCommand) override;
  std::uint32_t RunToEnd(const char* commandLine, std::uint32_t showCommand, std::uint32_t* exitCode) override {
    return inner_.RunToEnd(commandLine, showCommand, exitCode);
  }
  std::uint32_t MayStart(const char* commandLine) override { return inner_.MayStart(commandLine); }

 private:
  ProcessLauncher& inner_;
  bool wait_;
};

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
  PreviewSpeechEngine(SpeechEngine& inner, Journal& journal) : inner_(inner), journal_(journal) {}

  // Succeeds without a call, once the library has been looked for as the
  // call looks for it; a library the call would pass over is told as the
  // run tells it.
  std::int32_t UninstallSpeechUser(WindowHandle window, InstanceHandle instance, const char* languageCode,
                                   const char* userName) override;
  std::string PassedOverLibrary() const override { return inner_.PassedOverLibrary(); }
  void CheckLibrary() override { inner_.CheckLibrary(); }

 private:
  SpeechEngine& inner_;
  Journal& journal_;
  bool passedOverTold_ = false;
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
