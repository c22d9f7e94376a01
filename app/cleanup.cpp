#include <ctime>

#include "app/removal_decision.h"
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

// The other's removal as its entry spells it, with no command line to read
// and no box to show; it finishes no others in turn. The language is
// uppercased as a command line's is.
void UninstallApp::FinishInterrupted(const Ledger::Removal& other) {
  UninstallApp finishing(platform_, std::string(), instance_);
  finishing.finishesOthers_ = false;
  finishing.productCode_ = other.product;
  finishing.variantLetter_ = other.variant;
  finishing.languageCode_ = other.language;
  platform_.codePage.Uppercase(finishing.languageCode_);
  finishing.CleanUpProduct();
}

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
  if (finishesOthers_) {
    for (const Ledger::Removal& other : ledger_.InterruptedOthers()) FinishInterrupted(other);
  }
  const Ledger::State state = ledger_.EntryState();
  // Whether the product has an install for the language, read only where it decides.
  const auto registered = [this] {
    const auto languageKey = LanguageKeyPath(languageCode_);
    const auto installs = SuffixedName(productCode_, layout::kCounterSuffix);
    return languageKey && installs && ReadCounter(kHkeyLocalMachine, *languageKey, installs->c_str()) >= 0;
  };
  // A full removal resumes only among the registrations it was chosen
  // among: a product installed since keeps what its setup wrote. Those that
  // cannot be read whole may hold one: then nothing more is known to be safe.
  const Registrations now = state == Ledger::State::kRunning && ledger_.RecordedChoice() == Ledger::Choice::kFull
                                ? ReadRegistrations(platform_.registry, platform_.codePage)
                                : Registrations{};
  const auto newcomer = [this, &now] { return ledger_.Unrecorded(now.list); };
  if (state == Ledger::State::kUnknown || !now.complete) {
    outcome_.kind = RunOutcome::Kind::kProgressUnknown;
  } else if (state == Ledger::State::kReleased && !registered()) {
    outcome_.kind = RunOutcome::Kind::kAlreadyReleased;
    outcome_.releasedAt = ledger_.ReleasedAt();
  } else if (const auto registration = newcomer()) {
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
      const RemovalDecision decision =
          DecideRemoval(platform_.registry, platform_.codePage, productCode_, languageCode_, platform_.notes.Writes());
      platform_.notes.Note(decision.Line());
      choice = decision.shared ? Ledger::Choice::kShared : Ledger::Choice::kFull;
      // A full removal is chosen only when no other install stays: its own
      // is the one registration it was chosen among.
      const bool recorded = ledger_.RecordChoice(
          choice, decision.shared ? std::vector<Registration>{} : std::vector<Registration>{{productCode_, languageCode_}});
      if (recorded) {
        platform_.notes.Note(entry + " recorded as running" + choiceWord());
        if (decision.DecrementsProductCounter()) DecrementCounter(kHkeyLocalMachine, counters, layout::kProductCtr);
      } else {
        platform_.notes.Note(entry + " could not be recorded; no counter is decremented");
      }
    } else {
      platform_.notes.Note(std::string("decision: ") + (choice == Ledger::Choice::kShared ? "shared release" : "full removal") +
                           ": as the interrupted removal recorded it");
      platform_.notes.Note(entry + " found running" + choiceWord() + ", finished now");
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
    if (ledger_.Finish(UtcNow())) platform_.notes.Note(entry + " released");
  }
  ledger_.Close();
}


}  // namespace tw
