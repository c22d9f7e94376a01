#include "platform/journal/journal_launcher.h"

namespace tw {

void RecordStart(Journal& journal, const char* commandLine, std::uint32_t result, const std::string& started) {
  const std::string line = journal.Utf8(commandLine);
  if (result < 32) {
    journal.Failure("start uninstaller: " + line, static_cast<Status>(result));
  } else {
    journal.Change(started + line);
  }
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

}  // namespace tw
