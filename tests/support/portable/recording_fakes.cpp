#include "tests/support/portable/recording_fakes.h"

#include <cstdio>
#include <fstream>
#include <iterator>
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
  if (beforeSave) beforeSave(linkPath);
  if (MayUpdate(linkPath) != kSOk) return kEAccessDenied;
  if (result == kSOk) shortcuts[linkPath] = ShortcutTarget{targetPath, workingDirectory, "", 0};
  return result;
}

ComResult RecordingShellLinks::MayUpdate(const char* linkPath) {
  const bool refusedHere = refused.count(linkPath) != 0 || readOnly.count(linkPath) != 0 || FolderIsLinked(linkPath);
  return refusedHere ? kEAccessDenied : kSOk;
}

bool RecordingShellLinks::FolderIsLinked(const std::string& linkPath) const {
  if (files == nullptr) return false;
  // Each folder from the shortcut's own up to the drive's root ("C:"). A cut
  // at a trail byte 0x5C names no folder: it is passed over.
  for (std::size_t end = linkPath.rfind('\\'); end != std::string::npos && end > 2; end = linkPath.rfind('\\', end - 1)) {
    const std::uint32_t attributes = files->GetAttributes(linkPath.substr(0, end).c_str());
    if (attributes != kInvalidFileAttributes && (attributes & kFileAttributeReparsePoint) != 0) return true;
  }
  return false;
}

ComResult RecordingShellLinks::Read(const char* linkPath, ShortcutTarget* target) {
  if (refused.count(linkPath) != 0 || FolderIsLinked(linkPath)) return kEAccessDenied;
  const auto found = shortcuts.find(linkPath);
  if (found == shortcuts.end()) return kEFail;
  *target = found->second;
  return kSOk;
}

std::int32_t RecordingSpeechEngine::UninstallSpeechUser(WindowHandle window, InstanceHandle instance,
                                                        const char* languageCode, const char* userName) {
  lookedFor = true;
  if (library && !bound_) {
    bound_ = true;
    // The open stream is the checked handle: a rename of its folder, or a
    // file put at its path, does not change what it reads.
    std::ifstream checked(*library, std::ios::binary);
    if (betweenCheckAndLoad) betweenCheckAndLoad();
    if (checked) loaded = std::string(std::istreambuf_iterator<char>(checked), {});
  }
  if (library && !loaded) return 0;  // no engine library: a silent no-op
  calls.push_back({window, instance, languageCode, userName});
  return result;
}

}  // namespace tw
