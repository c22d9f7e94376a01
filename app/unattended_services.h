// The services an unattended run puts around the platform's: boxes answered
// without being shown, and a start that waits for the program to end.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "platform/message_boxes.h"
#include "platform/process_launcher.h"

namespace tw {

// Follows the answer to every box a quiet run does not show.
inline constexpr const char* kQuietUnshown = " (quiet, not shown)";
// The same when no one could see the box: no interactive desktop.
inline constexpr const char* kNoDesktopUnshown = " (no interactive desktop, not shown)";

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

}  // namespace tw
