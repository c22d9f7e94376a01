#include "tests/support/portable/recording_fakes.h"

#include <cstdio>
#include <utility>

#include "platform/message_format.h"

namespace tw {

std::uint32_t RecordingLauncher::Start(const char* commandLine, std::uint32_t showCommand) {
  started.push_back({commandLine, showCommand, false});
  return result;
}

std::uint32_t RecordingLauncher::RunToEnd(const char* commandLine, std::uint32_t showCommand,
                                          std::uint32_t* programExitCode) {
  started.push_back({commandLine, showCommand, true});
  if (result >= 32) *programExitCode = exitCode;
  return result;
}

ScriptedMessageBoxes::ScriptedMessageBoxes(std::map<std::uint32_t, std::string> stringTable, std::uint32_t captionId)
    : stringTable_(std::move(stringTable)), captionId_(captionId) {}

int ScriptedMessageBoxes::Record(std::uint32_t textId, std::string text, std::uint32_t flags) {
  shown.push_back({textId, std::move(text), stringTable_[captionId_], flags});
  if (!answers.empty()) {
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  return (flags & 0x0F) == kMbYesNo ? kIdYes : kIdOk;
}

int ScriptedMessageBoxes::Show(std::uint32_t textId, std::uint32_t flags) {
  return Record(textId, stringTable_[textId], flags);
}

int ScriptedMessageBoxes::ShowFormatted(std::uint32_t textId, std::uint32_t flags, int number, const char* text) {
  const std::string message = FillMessageFormat(stringTable_[textId], std::to_string(number), std::string(text));
  return Record(textId, message, flags);
}

ComResult RecordingShellLinks::Update(const char* targetPath, const char* linkPath, const char* workingDirectory) {
  updates.push_back({targetPath, linkPath, workingDirectory});
  if (MayUpdate(linkPath) != kSOk) return kEAccessDenied;
  if (result == kSOk) shortcuts[linkPath] = ShortcutTarget{targetPath, workingDirectory, "", 0};
  return result;
}

ComResult RecordingShellLinks::MayUpdate(const char* linkPath) {
  return refused.count(linkPath) != 0 || readOnly.count(linkPath) != 0 ? kEAccessDenied : kSOk;
}

ComResult RecordingShellLinks::Read(const char* linkPath, ShortcutTarget* target) {
  if (refused.count(linkPath) != 0) return kEAccessDenied;
  const auto found = shortcuts.find(linkPath);
  if (found == shortcuts.end()) return kEFail;
  *target = found->second;
  return kSOk;
}

std::int32_t RecordingSpeechEngine::UninstallSpeechUser(WindowHandle window, InstanceHandle instance,
                                                        const char* languageCode, const char* userName) {
  lookedFor = true;
  calls.push_back({window, instance, languageCode, userName});
  return result;
}

}  // namespace tw
