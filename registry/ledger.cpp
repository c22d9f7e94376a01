#include "registry/ledger.h"

#include <algorithm>

#include "registry/key_path.h"
#include "registry/layout.h"
#include "registry/ledger_values.h"
#include "registry/sealed_text.h"

namespace tw {

void Ledger::Open(const std::string& product, const std::string& variant, const std::string& language) {
  opened_ = true;
  product_ = product;
  variant_ = variant;
  language_ = language;
  keyName_ = product + " " + language;
  // The family key part by part, the ledger's below it: no link on the way.
  family_.emplace(registry_, kHkeyLocalMachine, FamilyPath({}), kKeyCreateSubKey, ScopedKey::RefuseLinks{codePage_});
  if (!family_->IsOpen()) {
    // No family, nothing to release; one that is there but cannot be had
    // may hold this removal's entry.
    if (ledger::Exists(registry_, kHkeyLocalMachine, *FamilyPath({}))) state_ = State::kUnknown;
    return;
  }
  ledger_.emplace(registry_, family_->Handle(), std::string(layout::kUninstall), ledger::kLedgerAccess,
                  ScopedKey::RefuseLinks{codePage_});
  // A removal's key is one name below the ledger's: a product or language
  // that would make it a path (or too long a name) has no entry and records
  // nothing.
  if (keyName_.find('\\') != std::string::npos || keyName_.size() >= kRegKeyNameCapacity) return;
  if (!ledger_->IsOpen()) {
    // Absent before the first removal; there, but not to be had, it may
    // hold this removal's entry.
    if (ledger::Exists(registry_, family_->Handle(), layout::kUninstall)) state_ = State::kUnknown;
    return;
  }
  key_.emplace(registry_, ledger_->Handle(), keyName_, ledger::kLedgerAccess, ScopedKey::RefuseLinks{codePage_});
  if (key_->IsOpen()) {
    Read();
  } else if (ledger::Exists(registry_, ledger_->Handle(), keyName_)) {
    state_ = State::kUnknown;
  }
  if (state_ == State::kNone) ReadOlderFormat();
}

void Ledger::Close() {
  key_.reset();
  ledger_.reset();
  family_.reset();
}

std::string Ledger::Folded(std::string text) const {
  codePage_.FoldCase(text);
  return text;
}

std::string Ledger::RegistrationHash(const Registration& registration) const {
  return ShortHash(Folded(registration.product + "\\" + registration.language));
}

// The keys are made with the first record: a run that records nothing (a
// repeat, a refusal) leaves the registry as it found it. Each is opened
// again without following a link, so that a link made meanwhile is refused,
// not written through.
bool Ledger::Create() {
  if (!family_ || !family_->IsOpen() || keyName_.find('\\') != std::string::npos) return false;
  if (!ledger_->IsOpen()) {
    if (!ledger::CreateKey(registry_, family_->Handle(), layout::kUninstall)) return false;
    ledger_.emplace(registry_, family_->Handle(), std::string(layout::kUninstall), ledger::kLedgerAccess,
                    ScopedKey::RefuseLinks{codePage_});
    if (!ledger_->IsOpen()) return false;
  }
  if (!ledger::CreateKey(registry_, ledger_->Handle(), keyName_.c_str())) return false;
  key_.emplace(registry_, ledger_->Handle(), keyName_, ledger::kLedgerAccess, ScopedKey::RefuseLinks{codePage_});
  return key_->IsOpen();
}

bool Ledger::Write(const char* valueName, const std::string& body) {
  // A damaged entry is kept as found: nothing is released on its word.
  return state_ != State::kUnknown && key_ && key_->IsOpen() && key_->SetText(valueName, Sealed(valueName, body)) == kErrorSuccess;
}

bool Ledger::RecordChoice(Choice choice, const std::vector<Registration>& registrations) {
  if (!opened_) return true;
  if (state_ == State::kUnknown || !ledger_ || keyName_.size() >= kRegKeyNameCapacity) return false;
  // A finished removal's entry gives way to this one: a run killed between
  // the two finds no entry (or the older format's) and chooses again, as
  // nothing of this removal is done yet.
  if (state_ == State::kReleased && key_ && key_->IsOpen()) {
    key_.reset();
    if (registry_.DeleteKey(ledger_->Handle(), keyName_.c_str()) != kErrorSuccess) return false;
  }
  if ((!key_ || !key_->IsOpen()) && !Create()) return false;
  state_ = State::kRunning;
  choice_ = choice;
  components_.reset();
  marks_.clear();
  records_ = 0;
  seen_.clear();
  if (choice == Choice::kFull) {
    for (const Registration& registration : registrations) seen_.push_back(RegistrationHash(registration));
  }
  std::string body = std::string(ledger::kFormat) + " " + ledger::ChoiceWord(choice == Choice::kShared) + " " +
                     product_ + " " + variant_ + " " + language_ + " " + std::to_string(seen_.size());
  for (const std::string& hash : seen_) body += " " + hash;
  return Write(ledger::kChoice, body);
}

std::optional<Registration> Ledger::Unrecorded(const std::vector<Registration>& registrations) const {
  for (const Registration& registration : registrations) {
    const std::string hash = RegistrationHash(registration);
    if (std::find(seen_.begin(), seen_.end(), hash) == seen_.end()) return registration;
  }
  return std::nullopt;
}

bool Ledger::RecordComponents(const std::vector<std::string>& components) {
  if (!opened_) return true;
  components_ = components;
  std::string body = std::to_string(components.size());
  for (const std::string& component : components) body += " " + component;
  return Write(ledger::kComponents, body);
}

std::string Ledger::Identify(RegKey root, const std::string& path, const char* valueName) {
  // The counter as the registry finds it: a retry spelled otherwise names the same one.
  const std::string counter = Folded(std::to_string(root) + "\\" + path + "\\" + valueName);
  return ShortHash(counter + "#" + std::to_string(++occurrences_[counter]));
}

Ledger::Mark Ledger::MarkOf(const std::string& id) const {
  const auto found = marks_.find(id);
  return found == marks_.end() ? Mark::kNone : found->second;
}

// One small value per mark, then the count: a kill between the two leaves
// the mark one ahead of the count, which still reads as written.
bool Ledger::Record(const std::string& id, Mark mark) {
  if (!opened_) return true;
  const std::string name = std::to_string(records_ + 1);
  if (!Write(name.c_str(), std::string(mark == Mark::kDone ? "d " : "l ") + id)) return false;
  ++records_;
  marks_[id] = mark;
  return key_->SetText(ledger::kRecords, std::to_string(records_)) == kErrorSuccess;
}

bool Ledger::Finish(const std::string& time) {
  if (!opened_) return true;
  if (state_ == State::kUnknown) return false;
  state_ = State::kReleased;
  releasedAt_ = time;
  return Write(ledger::kReleased, time);
}

}  // namespace tw
