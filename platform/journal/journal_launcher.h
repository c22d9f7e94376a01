// The uninstaller's start written to the journal: its command line and
// whether it started; the outcome of a program run to its end stays for the
// run's exit code.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/journal/journal.h"
#include "platform/process_launcher.h"

namespace tw {

// A start's line: a failure below 32, else started followed by the command line.
void RecordStart(Journal& journal, const char* commandLine, std::uint32_t result, const std::string& started);

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
