#include "registry/ledger.h"

#include "platform/journal/reg_syntax.h"
#include "registry/enumeration.h"
#include "registry/key_path.h"
#include "registry/layout.h"

namespace tw {
namespace {

// The blank-separated words of a text, as a stream would read them (no
// stream here: the program's size is kept small).
std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  constexpr const char* kBlanks = " \t\n\v\f\r";
  for (std::size_t start = text.find_first_not_of(kBlanks); start != std::string::npos;) {
    const std::size_t end = text.find_first_of(kBlanks, start);
    words.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    start = end == std::string::npos ? end : text.find_first_not_of(kBlanks, end);
  }
  return words;
}

// An entry holds a removal's component list and one short mark per counter
// released: this is far more than any removal needs.
constexpr std::uint32_t kEntryCapacity = 65536;
constexpr AccessMask kLedgerAccess = kKeyQueryValue | kKeySetValue;

const char* ChoiceWord(Ledger::Choice choice) { return choice == Ledger::Choice::kShared ? "shared" : "full"; }

// FNV-1a: a short, stable name for a counter. Two counters of one removal
// that hashed alike would make the second look done: left too high, never
// too low.
std::string Hash(const std::string& text) {
  std::uint32_t hash = 2166136261u;
  for (unsigned char c : text) hash = (hash ^ c) * 16777619u;
  return HexDigits(hash, 8);
}

}  // namespace

void Ledger::Open(const std::string& product, const std::string& variant, const std::string& language) {
  opened_ = true;
  name_ = product + " " + variant + " " + language;
  // The family key part by part, the ledger's below it: no link on the way.
  family_.emplace(registry_, kHkeyLocalMachine, FamilyPath({}), kKeyCreateSubKey, ScopedKey::RefuseLinks{codePage_});
  if (!family_->IsOpen()) return;
  key_.emplace(registry_, family_->Handle(), std::string(layout::kUninstall), kLedgerAccess, ScopedKey::RefuseLinks{codePage_});
  if (const auto text = key_->ReadText(name_.c_str(), kEntryCapacity)) Parse(*text);
}

void Ledger::Close() {
  key_.reset();
  family_.reset();
}

// The key is made with the first entry: a run that records nothing (a
// repeat, a refusal) leaves the registry as it found it. Opened again
// without following a link, so that a link made meanwhile is refused, not
// written through.
bool Ledger::Create() {
  RegKey created = 0;
  if (!family_ || !family_->IsOpen() ||
      registry_.CreateKey(family_->Handle(), layout::kUninstall, &created) != kErrorSuccess) {
    return false;
  }
  registry_.CloseKey(created);
  key_.emplace(registry_, family_->Handle(), std::string(layout::kUninstall), kLedgerAccess, ScopedKey::RefuseLinks{codePage_});
  return key_->IsOpen();
}

std::vector<std::string> Ledger::InterruptedOthers() const {
  std::vector<std::string> names;
  if (!key_ || !key_->IsOpen()) return names;
  // Names as long as the command line's three words may be; a name holding
  // a NUL is passed over by the enumeration.
  for (const RegistryValue& value : CollectValues(registry_, key_->Handle(), layout::kKeyPathCapacity, kEntryCapacity)) {
    const std::vector<std::string> words = Words(value.name);
    if (value.name == name_ || value.type != kRegSz || value.Text().rfind("running ", 0) != 0 || words.size() != 3 ||
        value.name != words[0] + " " + words[1] + " " + words[2]) {
      continue;
    }
    names.push_back(value.name);
  }
  return names;
}

// An entry that does not read as one is no entry: the run is a first one.
void Ledger::Parse(const std::string& text) {
  const std::vector<std::string> words = Words(text);
  if (words.size() < 3 || (words[1] != "shared" && words[1] != "full")) return;
  const std::string& state = words[0];
  const Choice recorded = words[1] == "shared" ? Choice::kShared : Choice::kFull;
  if (state == "released") {
    state_ = State::kReleased;
    releasedAt_ = words[2];
    return;
  }
  if (state != "running" || words.size() < 4) return;
  std::size_t next = 4;
  const std::string& count = words[3];
  if (count != "-") {
    if (count.find_first_not_of("0123456789") != std::string::npos || count.size() > 6) return;
    std::size_t components = 0;
    for (char digit : count) components = components * 10 + static_cast<std::size_t>(digit - '0');
    if (words.size() - next < components) return;
    components_ = std::vector<std::string>(words.begin() + next, words.begin() + next + components);
    next += components;
  }
  for (; next < words.size(); ++next) {
    const std::string& mark = words[next];
    if (mark.size() == 9 && (mark[0] == 'd' || mark[0] == 'l')) {
      marks_[mark.substr(1)] = mark[0] == 'd' ? Mark::kDone : Mark::kLastUser;
    }
  }
  state_ = State::kRunning;
  choice_ = recorded;
}

std::string Ledger::RunningText() const {
  std::string text = std::string("running ") + ChoiceWord(choice_) + " -";
  if (components_) {
    text += " " + std::to_string(components_->size());
    for (const std::string& component : *components_) text += " " + component;
  } else {
    text += " -";
  }
  for (const auto& [id, mark] : marks_) text += (mark == Mark::kDone ? " d" : " l") + id;
  return text;
}

bool Ledger::Write(const std::string& text) {
  if (!key_ || text.size() + 1 > kEntryCapacity || (!key_->IsOpen() && !Create())) return false;
  return key_->SetText(name_.c_str(), text) == kErrorSuccess;
}

bool Ledger::RecordChoice(Choice choice) {
  if (!opened_) return true;
  state_ = State::kRunning;
  choice_ = choice;
  components_.reset();
  marks_.clear();
  return Write(RunningText());
}

bool Ledger::RecordComponents(const std::vector<std::string>& components) {
  if (!opened_) return true;
  components_ = components;
  return Write(RunningText());
}

std::string Ledger::Identify(RegKey root, const std::string& path, const char* valueName) {
  const std::string counter = std::to_string(root) + "\\" + path + "\\" + valueName;
  return Hash(counter + "#" + std::to_string(++occurrences_[counter]));
}

Ledger::Mark Ledger::MarkOf(const std::string& id) const {
  const auto found = marks_.find(id);
  return found == marks_.end() ? Mark::kNone : found->second;
}

bool Ledger::Record(const std::string& id, Mark mark) {
  if (!opened_) return true;
  marks_[id] = mark;
  return Write(RunningText());
}

bool Ledger::Finish(const std::string& time) {
  if (!opened_) return true;
  state_ = State::kReleased;
  releasedAt_ = time;
  return Write(std::string("released ") + ChoiceWord(choice_) + " " + time);
}

}  // namespace tw
