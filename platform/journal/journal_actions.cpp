#include "platform/journal/journal_actions.h"

#include <string>

#include "platform/journal/reg_syntax.h"

namespace tw {
namespace {

std::string OrNone(const std::string& text) { return text.empty() ? "(none)" : text; }

std::string IconText(const std::string& path, int index) {
  return path.empty() ? "(none)" : path + "," + std::to_string(index);
}

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
  journal_.Note("    target: " + OrNone(journal_.Utf8(old.targetPath)) + " -> " + OrNone(journal_.Utf8(targetPath)));
  journal_.Note("    working directory: " + OrNone(journal_.Utf8(old.workingDirectory)) + " -> " +
                OrNone(journal_.Utf8(workingDirectory)));
  journal_.Note("    icon: " + IconText(journal_.Utf8(old.iconPath), old.iconIndex) + " -> (none)");
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
  journal_.Refusal("every change below the programs directory " + journal_.Utf8(folder) + ": " +
                   journal_.Utf8(reason));
}

}  // namespace tw
