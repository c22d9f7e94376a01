#include "platform/journal/journal_actions.h"

#include <string>

#include "platform/journal/reg_syntax.h"

namespace tw {
namespace {

std::string OrNone(const std::string& text) { return text.empty() ? "(none)" : text; }

}  // namespace

std::string EngineCallText(const Journal& journal, const char* languageCode, const char* userName) {
  return "UninstallSpeechUser(language " + journal.Utf8(languageCode) + ", user " + journal.Utf8(userName) + ")";
}

void RecordStart(Journal& journal, const char* commandLine, std::uint32_t result, const std::string& started) {
  const std::string line = journal.Utf8(commandLine);
  if (result < 32) {
    journal.Failure("start uninstaller: " + line, static_cast<Status>(result));
  } else {
    journal.Change(started + line);
  }
}

ComResult JournalShellLinks::Update(const char* targetPath, const char* linkPath, const char* workingDirectory) {
  ShortcutTarget old;
  if (inner_.Read(linkPath, &old) != kSOk) old = ShortcutTarget{};
  const ComResult result = inner_.Update(targetPath, linkPath, workingDirectory);
  const std::string link = journal_.Utf8(linkPath);
  if (result != kSOk) {
    journal_.Failure("re-point shortcut " + link + " (0x" + HexDigits(static_cast<std::uint32_t>(result), 8) + ")",
                     result);
    return result;
  }
  journal_.Change("shortcut re-pointed: " + link);
  // Only what the update changed; the swap clears the icon location on
  // purpose, so that the shortcut shows its new target's icon.
  const auto field = [this](const char* name, const std::string& was, const std::string& now) {
    if (was == now) return;
    journal_.Note(std::string("    ") + name + ": " + OrNone(journal_.Utf8(was)) + " -> " + OrNone(journal_.Utf8(now)));
  };
  field("target", old.targetPath, targetPath);
  field("working directory", old.workingDirectory, workingDirectory);
  if (!old.iconPath.empty()) {
    journal_.Note("    icon: " + journal_.Utf8(old.iconPath) + "," + std::to_string(old.iconIndex) +
                  " -> (cleared by the swap)");
  }
  return result;
}

std::int32_t JournalSpeechEngine::UninstallSpeechUser(WindowHandle window, InstanceHandle instance,
                                                      const char* languageCode, const char* userName) {
  const std::string call = EngineCallText(journal_, languageCode, userName);
  const std::int32_t result = inner_.UninstallSpeechUser(window, instance, languageCode, userName);
  const std::string passedOver = inner_.PassedOverLibrary();
  if (!passedOver.empty() && !passedOverTold_) {
    journal_.Refusal("engine library " + journal_.Utf8(passedOver) +
                     ": others than Administrators, SYSTEM and TrustedInstaller can change it or its folder");
    passedOverTold_ = true;
  }
  journal_.Change("engine library: " + call + " returned " + std::to_string(result));
  return result;
}

void JournalLauncher::Record(const char* commandLine, std::uint32_t result) {
  startResult_ = result;
  RecordStart(journal_, commandLine, result, "uninstaller started: ");
  if (result >= 32 && exitCode_) journal_.Note("uninstaller ended with exit code " + std::to_string(*exitCode_));
}

std::uint32_t JournalLauncher::Start(const char* commandLine, std::uint32_t showCommand) {
  const std::uint32_t result = inner_.Start(commandLine, showCommand);
  Record(commandLine, result);
  return result;
}

std::uint32_t JournalLauncher::RunToEnd(const char* commandLine, std::uint32_t showCommand, std::uint32_t* exitCode) {
  const std::uint32_t result = inner_.RunToEnd(commandLine, showCommand, exitCode);
  if (result >= 32) exitCode_ = *exitCode;
  Record(commandLine, result);
  return result;
}

void JournalUserFolders::Refused(const std::string& folder, const std::string& reason) {
  inner_.Refused(folder, reason);
  if (!told_.emplace(folder, reason).second) return;
  journal_.Refusal("every change below the programs directory " + journal_.Utf8(folder) + ": " +
                   journal_.Utf8(reason));
}

}  // namespace tw
