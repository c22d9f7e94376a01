#include "app/program_run.h"

#include "app/every_user.h"
#include "app/exit_codes.h"
#include "app/message_ids.h"
#include "app/message_table.h"
#include "app/run_wrappers.h"
#include "app/unattended_options.h"
#include "app/uninstall_app.h"
#include "app/version.h"
#include "platform/journal/journal_message_boxes.h"
#include "platform/journal/journaled_platform.h"
#include "platform/journal/report_file.h"
#include "platform/overlay/overlay_file_system.h"
#include "platform/overlay/overlay_registry.h"
#include "platform/overlay/overlay_shell_links.h"
#include "registry/key_path.h"
#include "registry/layout.h"

namespace tw {
namespace {

// Declining, a bad command line, an unregistered product and a failed start
// have their own codes; otherwise the uninstaller's, when it was waited for.
int ExitCodeOf(const RunOutcome& outcome, const JournalLauncher& starts) {
  switch (outcome.kind) {
    case RunOutcome::Kind::kDeclined: return kExitDeclined;
    case RunOutcome::Kind::kBadCommandLine: return kExitBadCommandLine;
    case RunOutcome::Kind::kNotRegistered: return kExitUnknownProduct;
    case RunOutcome::Kind::kUninstallerNotStarted: return kExitFailed;
    case RunOutcome::Kind::kAnotherRemovalRunning: return kExitAnotherRemoval;
    default: return starts.ExitCode() ? static_cast<int>(*starts.ExitCode()) : kExitDone;
  }
}

// A run's services are composed from the machine out: the machine's own (or
// a preview's overlay of them), the boxes answered unseen when quiet, the
// journal's recorders, a preview's irreversible actions told instead of
// taken, every user's part when the run does it (its hives looked for in
// `hives`), and outermost the start that waits for the uninstaller. For a
// preview, `unreadable` names the first key its overlay reached and could not
// read whole, if any, once the removal is done.
int RunRemoval(const Platform& recorded, const JournalLauncher& starts, Journal& journal,
               const UnattendedOptions& options, InstanceHandle instance, Registry& hives,
               const std::optional<std::string>* unreadable = nullptr) {
  WaitingLauncher launcher(recorded.processes, options.wait);
  const EveryUserRun everyUser(recorded.With(launcher), hives, options.allUsers || recorded.user.IsLocalSystem(),
                               !options.preview);
  UninstallApp app(everyUser.View(), options.removal, instance, true);
  app.RunUninstall();
  if (unreadable && *unreadable) {
    // Never a report of less than the run would do: no summary, an error.
    journal.Note("preview impossible: the key " + journal.Utf8(**unreadable) + " cannot be read whole");
    journal.Note("exit code: " + std::to_string(kExitFailed));
    return kExitFailed;
  }
  const int exitCode = ExitCodeOf(app.Outcome(), starts);
  journal.Note("summary: " + app.Outcome().Text() + ", " + std::to_string(journal.Changes()) + " changes, " +
               std::to_string(journal.Failures()) + " failures");
  journal.Note("exit code: " + std::to_string(exitCode));
  return exitCode;
}

// The uninstall ledger's key: the program's own records, not a change of
// the machine's that the log lists.
std::string LedgerKey() {
  return "HKEY_LOCAL_MACHINE\\" +
         JoinPath({layout::kSoftware, layout::kCompany, layout::kFamily, layout::kUninstall}).value_or("");
}

// A box waits for nobody: unseen when /quiet says so, or when no one could
// see it (no interactive desktop), and the journal says which.
QuietMessageBoxes Answering(MessageBoxes& boxes, bool quietSwitch) {
  const bool desktop = boxes.DesktopVisible();
  return QuietMessageBoxes(boxes, quietSwitch || !desktop, quietSwitch || desktop ? kQuietUnshown : kNoDesktopUnshown);
}

// A switch not understood: nothing runs. The box (unseen when quiet) goes
// to the journal like any other, then the summary.
int RefuseSwitch(Journal& journal, QuietMessageBoxes& boxes, const std::string& token) {
  JournalMessageBoxes journaled(boxes, journal, MessageTable(), boxes.AnswerNote());
  journaled.ShowFormatted(IDS_UNKNOWN_SWITCH, kMbOk | kMbIconExclamation, 0, token.c_str());
  RunOutcome refused;
  refused.kind = RunOutcome::Kind::kBadCommandLine;
  journal.Note("summary: " + refused.Text() + ", 0 changes, 0 failures");
  journal.Note("exit code: " + std::to_string(kExitBadCommandLine));
  return kExitBadCommandLine;
}

int RunUnattended(const Platform& platform, Journal& journal, const UnattendedOptions& options,
                  QuietMessageBoxes& boxes, InstanceHandle instance) {
  JournaledPlatform journaled(platform.With(boxes), journal, MessageTable(), boxes.AnswerNote(), LedgerKey());
  const Platform recorded = journaled.View();
  return RunRemoval(recorded, journaled.Starts(), journal, options, instance, recorded.registry);
}

// The removal against an overlay of the machine: everything read as it is
// (each key when the removal first reaches it), nothing changed, the journal
// telling what the removal would do.
int RunPreview(const Platform& platform, Journal& journal, const UnattendedOptions& options,
               InstanceHandle instance) {
  OverlayRegistry registry(platform.registry, platform.codePage, RemovalKeyTrees(platform.registry));
  OverlayFileSystem files(platform.files, platform.codePage);
  OverlayShellLinks links(platform.links, platform.codePage);
  QuietMessageBoxes boxes(platform.messages, true, kPreviewUnshown);
  PreviewRemovalLock lock(platform.lock);
  JournaledPlatform journaled(platform.With(registry).With(files).With(links).With(boxes).With(lock), journal,
                              MessageTable(), boxes.AnswerNote(), LedgerKey());
  const Platform recorded = journaled.View();
  PreviewLauncher launcher(recorded.processes, journal);
  PreviewSpeechEngine engine(platform.engine, journal);
  return RunRemoval(recorded.With(launcher).With(engine), journaled.Starts(), journal, options, instance,
                    platform.registry, &registry.Unreadable());
}

}  // namespace

int RunProgram(const Platform& platform, LogFile& log, StandardOutput& output, const std::string& commandLine,
               InstanceHandle instance) {
  const UnattendedOptions options = ParseUnattendedOptions(commandLine);
  QuietMessageBoxes boxes = Answering(platform.messages, options.quiet);
  if (!options.anySwitch) {
    // As LocalSystem, nothing else could reach the users' parts.
    const EveryUserRun everyUser(platform.With(boxes), platform.registry, platform.user.IsLocalSystem(), true);
    UninstallApp(everyUser.View(), commandLine, instance).RunUninstall();
    return kExitDone;
  }
  const std::uint32_t exclamation = kMbOk | kMbIconExclamation;
  if (options.usage && !options.unknownSwitch) {
    boxes.Show(IDS_USAGE, kMbOk | kMbIconInformation);
    return kExitDone;
  }
  ReportFile report(log, options.logPath.has_value(), output);
  Journal journal(options.preview ? &report : options.logPath ? &log : nullptr, platform.codePage);
  if (options.logPath) {
    const Status status = log.Open(options.logPath->c_str());
    if (status != kErrorSuccess) {
      boxes.ShowFormatted(IDS_LOG_FAILED, exclamation, status, options.logPath->c_str());
      return kExitLogUnwritable;
    }
  }
  if (journal.Writes()) {
    journal.Note("==== twuninst.exe " TW_VERSION_TEXT ", " + log.LocalTime());
    journal.Note("command line: " + journal.Utf8(commandLine));
    journal.Note("switches: " + journal.Utf8(options.switches));
    // The hive and start menu of its own are SYSTEM's: the users' are reached in their profiles.
    if (platform.user.IsLocalSystem()) {
      journal.Note("account: SYSTEM; every user's shortcuts and sound events are released where they are (the "
                   "users visited and passed over follow)");
    } else if (options.allUsers) {
      journal.Note("account: " + platform.user.AccountSid() + "; with /allusers every user's shortcuts and sound "
                   "events are released where they are (the users visited and passed over follow)");
    }
  }
  if (options.unknownSwitch) {
    QuietMessageBoxes unseen(platform.messages, true, kPreviewUnshown);
    return RefuseSwitch(journal, options.preview ? unseen : boxes, *options.unknownSwitch);
  }
  return options.preview ? RunPreview(platform, journal, options, instance)
                         : RunUnattended(platform, journal, options, boxes, instance);
}

}  // namespace tw
