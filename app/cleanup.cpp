#include <ctime>

#include "app/uninstall_app.h"
#include "registry/key_path.h"
#include "registry/layout.h"
#include "registry/registrations.h"

namespace tw {
namespace {

// When a removal finished, as the ledger keeps it: UTC, no blank.
std::string UtcNow() {
  const std::time_t now = std::time(nullptr);
  char text[32] = "-";
  if (const std::tm* utc = std::gmtime(&now)) std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", utc);
  return text;
}

}  // namespace

// What this removal's entry in the ledger says decides the run: a removal cut
// short is finished with the choice, spelling and variant letter it began
// with; a finished one is not released again while the product has no
// install for the language (its setup writes "<product code>Ctr" afresh);
// one that does not read whole releases nothing more; with switches, a
// product with neither is refused. A first removal makes the choice of old.
void UninstallApp::CleanUpProduct() {
  ledger_.Open(productCode_, variantLetter_, languageCode_);
  if (ledger_.EntryState() == Ledger::State::kRunning) {
    productCode_ = ledger_.RecordedProduct();
    variantLetter_ = ledger_.RecordedVariant();
    languageCode_ = ledger_.RecordedLanguage();
  }
  // Another product's removal cut short is finished first, without its
  // uninstaller: run in between, this one would take the counters the other
  // already gave back for its own and delete what the other still releases.
  if (outcome_.kind != RunOutcome::Kind::kResumed) {
    for (const std::string& other : ledger_.InterruptedOthers()) {
      UninstallApp finishing(platform_, other + " - -", instance_);
      finishing.outcome_.kind = RunOutcome::Kind::kResumed;
      if (finishing.ParseCommandLine()) finishing.CleanUpProduct();
    }
  }
  const Ledger::State state = ledger_.EntryState();
  // Whether the product has an install for the language, read only where it decides.
  const auto registered = [this] {
    const auto languageKey = LanguageKeyPath(languageCode_);
    const auto installs = SuffixedName(productCode_, layout::kCounterSuffix);
    return languageKey && installs && ReadCounter(kHkeyLocalMachine, *languageKey, installs->c_str()) >= 0;
  };
  // A full removal resumes only among the registrations it was chosen
  // among: a product installed since keeps what its setup wrote.
  const auto newcomer = [this] {
    return ledger_.RecordedChoice() == Ledger::Choice::kFull
               ? ledger_.Unrecorded(Registrations(platform_.registry, platform_.codePage))
               : std::nullopt;
  };
  if (state == Ledger::State::kUnknown) {
    outcome_.kind = RunOutcome::Kind::kProgressUnknown;
  } else if (state == Ledger::State::kReleased && !registered()) {
    outcome_.kind = RunOutcome::Kind::kAlreadyReleased;
    outcome_.releasedAt = ledger_.ReleasedAt();
  } else if (const auto registration = state == Ledger::State::kRunning ? newcomer() : std::nullopt) {
    outcome_.kind = RunOutcome::Kind::kResumeStopped;
    outcome_.registered = registration->product + " " + registration->language;
  } else if (state == Ledger::State::kNone && refuseUnregistered_ && !registered()) {
    outcome_.kind = RunOutcome::Kind::kNotRegistered;
  } else {
    if (state == Ledger::State::kRunning) outcome_.kind = RunOutcome::Kind::kResumed;
    const std::string counters = *FamilyPath({layout::kInstall, layout::kCounters});
    // The ledger's writes are not listed in the log: one line each where
    // the removal is recorded and where it is finished says what they did.
    const std::string entry = "ledger: " + productCode_ + " " + variantLetter_ + " " + languageCode_;
    Ledger::Choice choice = ledger_.RecordedChoice();
    const auto choiceWord = [&choice] { return choice == Ledger::Choice::kShared ? " (shared)" : " (full)"; };
    if (choice == Ledger::Choice::kNone) {
      // The choice is recorded before ProductCtr is written: a run that
      // finishes this removal neither decrements it again nor reads it anew.
      const bool shared = ReadCounter(kHkeyLocalMachine, counters, layout::kProductCtr) > 1;
      choice = shared ? Ledger::Choice::kShared : Ledger::Choice::kFull;
      const bool recorded = ledger_.RecordChoice(
          choice, shared ? std::vector<Registration>{} : Registrations(platform_.registry, platform_.codePage));
      if (recorded) {
        platform_.messages.Note(entry + " recorded as running" + choiceWord());
        if (shared) DecrementCounter(kHkeyLocalMachine, counters, layout::kProductCtr);
      } else {
        platform_.messages.Note(entry + " could not be recorded; no counter is decremented");
      }
    } else {
      platform_.messages.Note(entry + " found running" + choiceWord() + ", finished now");
    }
    if (choice == Ledger::Choice::kShared) {
      BuildComponentList();
      ReleaseComponentLanguages();
      ReleaseProductEntry();
      ReleaseEngineData();
      ReleaseComponents();
    } else {
      // Deletes only: a run cut short repeats them. The ledger's own key is
      // not among the components and outlives the family.
      RemoveHelpRegistrations();
      RemoveSoundEvents();
      RemoveAppPaths();
      RemoveProgramFolder("");
      for (const char* component : layout::kAllComponents) DeleteKeyTree(kHkeyLocalMachine, *FamilyPath({component}));
    }
    if (ledger_.Finish(UtcNow())) platform_.messages.Note(entry + " released");
  }
  ledger_.Close();
}


}  // namespace tw
