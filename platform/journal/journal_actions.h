// The shell links, the engine library and the program start with every action
// written to the journal: a shortcut's old and new target, the engine call and
// its result, the uninstaller's command line and whether it started.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <utility>

#include "platform/journal/journal.h"
#include "platform/process_launcher.h"
#include "platform/run_notes.h"
#include "platform/shell_links.h"
#include "platform/speech_engine.h"
#include "platform/user_folders.h"

namespace tw {

// The engine call as the journal names it.
std::string EngineCallText(const Journal& journal, const char* languageCode, const char* userName);
// A start's line: a failure below 32, else started followed by the command line.
void RecordStart(Journal& journal, const char* commandLine, std::uint32_t result, const std::string& started);

class JournalShellLinks : public ShellLinks {
 public:
  JournalShellLinks(ShellLinks& inner, Journal& journal) : inner_(inner), journal_(journal) {}

  ComResult Update(const char* targetPath, const char* linkPath, const char* workingDirectory) override;
  ComResult Read(const char* linkPath, ShortcutTarget* target) override { return inner_.Read(linkPath, target); }
  ComResult MayUpdate(const char* linkPath) override { return inner_.MayUpdate(linkPath); }

 private:
  ShellLinks& inner_;
  Journal& journal_;
};

class JournalSpeechEngine : public SpeechEngine {
 public:
  JournalSpeechEngine(SpeechEngine& inner, Journal& journal) : inner_(inner), journal_(journal) {}

  std::int32_t UninstallSpeechUser(WindowHandle window, InstanceHandle instance, const char* languageCode,
                                   const char* userName) override;
  std::string PassedOverLibrary() const override { return inner_.PassedOverLibrary(); }

 private:
  SpeechEngine& inner_;
  Journal& journal_;
  bool passedOverTold_ = false;
};

class JournalUserFolders : public UserFolders {
 public:
  JournalUserFolders(UserFolders& inner, Journal& journal) : inner_(inner), journal_(journal) {}

  std::optional<std::string> ProfileFolder() override { return inner_.ProfileFolder(); }
  std::optional<std::string> FinalFolderPath(const std::string& path) override { return inner_.FinalFolderPath(path); }
  bool UserRightsHeld() override { return inner_.UserRightsHeld(); }
  bool IsLocalSystem() override { return inner_.IsLocalSystem(); }
  // Written once per folder and reason: every step that reads the programs
  // directory meets the same refusal, which holds for the whole run.
  void Refused(const std::string& folder, const std::string& reason) override;

 private:
  UserFolders& inner_;
  Journal& journal_;
  std::set<std::pair<std::string, std::string>> told_;
};

// The removal's own lines go to the log as they are told.
class JournalRunNotes : public RunNotes {
 public:
  explicit JournalRunNotes(Journal& journal) : journal_(journal) {}

  bool Writes() const override { return journal_.Writes(); }
  void Note(const std::string& line) override { journal_.Note(journal_.Utf8(line)); }

 private:
  Journal& journal_;
};

// The outcome of a program run to its end stays for the run's exit code.
class JournalLauncher : public ProcessLauncher {
 public:
  JournalLauncher(ProcessLauncher& inner, Journal& journal) : inner_(inner), journal_(journal) {}

  std::uint32_t Start(const char* commandLine, std::uint32_t showCommand) override;
  std::uint32_t RunToEnd(const char* commandLine, std::uint32_t showCommand, std::uint32_t* exitCode) override;
  std::uint32_t MayStart(const char* commandLine) override { return inner_.MayStart(commandLine); }

  // The result of the last start (below 32: not started); none before one.
  std::optional<std::uint32_t> StartResult() const { return startResult_; }
  // The exit code of the program waited for.
  std::optional<std::uint32_t> ExitCode() const { return exitCode_; }

 private:
  void Record(const char* commandLine, std::uint32_t result);

  ProcessLauncher& inner_;
  Journal& journal_;
  std::optional<std::uint32_t> startResult_;
  std::optional<std::uint32_t> exitCode_;
};

}  // namespace tw
