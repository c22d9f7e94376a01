// Reading the ledger: this removal's entry, the older format's, the others'.
#include <algorithm>

#include "registry/blank_separated.h"
#include "registry/enumeration.h"
#include "registry/layout.h"
#include "registry/ledger.h"
#include "registry/ledger_values.h"
#include "registry/sealed_text.h"

namespace tw {
namespace {

bool IsHash(const std::string& word) {
  return word.size() == 8 && word.find_first_not_of("0123456789abcdef") == std::string::npos;
}

}  // namespace

// "2 <shared|full> <product> <variant> <language> <n> <hash> ...", of this
// removal's product and language however spelled.
bool Ledger::ReadChoice(const std::vector<std::string>& words) {
  if (words.size() < 6 || words[0] != ledger::kFormat || (words[1] != "shared" && words[1] != "full")) return false;
  const auto count = ledger::Count(words[5]);
  if (!count || words.size() != 6 + *count || Folded(words[2] + " " + words[4]) != Folded(keyName_)) return false;
  choice_ = words[1] == "shared" ? Choice::kShared : Choice::kFull;
  product_ = words[2];
  variant_ = words[3];
  language_ = words[4];
  seen_.assign(words.begin() + 6, words.end());
  return std::all_of(seen_.begin(), seen_.end(), IsHash);
}

// Only a running entry's choice, spelling, components and marks go on: a
// finished removal's give way to the next removal's own.
void Ledger::Read() {
  const std::string product = product_, variant = variant_, language = language_;
  ReadEntry();
  if (state_ == State::kRunning) return;
  product_ = product;
  variant_ = variant;
  language_ = language;
  choice_ = Choice::kNone;
  seen_.clear();
  components_.reset();
  marks_.clear();
  records_ = 0;
}

// Every value is read and must read whole; whatever does not leaves the
// entry's progress unknown.
void Ledger::ReadEntry() {
  const ScopedKey& key = *key_;
  const auto choice = key.ReadText(ledger::kChoice, ledger::kTextCapacity);
  const auto missing = [&](const std::string& name) { return ledger::Missing(registry_, key.Handle(), name.c_str()); };
  if (!choice) {
    // Killed between making the key and its first record: no entry.
    if (!missing(ledger::kChoice) || FirstValueStatus(registry_, key.Handle()) != kErrorNoMoreItems) {
      state_ = State::kUnknown;
    }
    return;
  }
  state_ = State::kUnknown;
  const auto choiceWords = Unsealed(ledger::kChoice, *choice);
  if (!choiceWords || !ReadChoice(*choiceWords)) return;
  if (const auto list = key.ReadText(ledger::kComponents, ledger::kTextCapacity)) {
    const auto words = Unsealed(ledger::kComponents, *list);
    const auto count = words && !words->empty() ? ledger::Count(words->front()) : std::nullopt;
    if (!count || words->size() != 1 + *count) return;
    components_ = std::vector<std::string>(words->begin() + 1, words->end());
  } else if (!missing(ledger::kComponents)) {
    return;
  }
  std::uint32_t written = 0;
  if (const auto count = key.ReadText(ledger::kRecords, ledger::kMarkCapacity)) {
    const auto number = ledger::Count(*count);
    if (!number) return;
    written = *number;
  } else if (!missing(ledger::kRecords)) {
    return;
  }
  // The marks the count names, and one more that a kill may have left
  // ahead of it; none after those.
  for (std::uint32_t index = 1;; ++index) {
    const std::string name = std::to_string(index);
    const auto text = key.ReadText(name.c_str(), ledger::kMarkCapacity);
    if (!text) {
      if (index <= written || !missing(name) || !missing(std::to_string(index + 1))) return;
      break;
    }
    if (index > written + 1) return;
    const auto words = Unsealed(name, *text);
    if (!words || words->size() != 2 || ((*words)[0] != "d" && (*words)[0] != "l") || !IsHash((*words)[1])) return;
    marks_[(*words)[1]] = (*words)[0] == "d" ? Mark::kDone : Mark::kLastUser;
    records_ = index;
  }
  if (const auto released = key.ReadText(ledger::kReleased, ledger::kTextCapacity)) {
    const auto words = Unsealed(ledger::kReleased, *released);
    if (!words || words->size() != 1) return;
    releasedAt_ = words->front();
    state_ = State::kReleased;
    return;
  }
  if (missing(ledger::kReleased)) state_ = State::kRunning;
}

// The older format: one value "<product> <variant> <language>" in the
// ledger's key, of any variant letter. Only "released <choice> <time>" is
// taken at its word; a running one or anything else is progress unknown.
void Ledger::ReadOlderFormat() {
  if (!ledger_ || !ledger_->IsOpen()) return;
  // By index to the end: a value passed over or a walk cut short may be
  // this removal's, so either leaves its progress unknown.
  std::vector<char> name(ledger::kTextCapacity);
  std::vector<std::uint8_t> data(ledger::kTextCapacity);
  for (std::uint32_t index = 0;; ++index) {
    std::uint32_t nameSize = ledger::kTextCapacity;
    std::uint32_t dataSize = ledger::kTextCapacity;
    ValueType type = kRegNone;
    const Status status =
        registry_.EnumValue(ledger_->Handle(), index, name.data(), &nameSize, &type, data.data(), &dataSize);
    if (status == kErrorNoMoreItems) return;
    if (status != kErrorSuccess) {
      state_ = State::kUnknown;
      return;
    }
    const std::vector<std::string> words = SplitAtBlanks(std::string(name.data(), nameSize));
    if (words.size() != 3 || Folded(words[0] + " " + words[2]) != Folded(keyName_)) continue;
    const RegistryValue value{std::string(name.data(), nameSize), type,
                              std::vector<std::uint8_t>(data.begin(), data.begin() + dataSize)};
    const std::vector<std::string> text = SplitAtBlanks(value.Text());
    if (type != kRegSz || text.size() != 3 || text[0] != "released" || (text[1] != "shared" && text[1] != "full")) {
      state_ = State::kUnknown;
      return;
    }
    state_ = State::kReleased;
    releasedAt_ = text[2];
  }
}

std::vector<Ledger::Removal> Ledger::InterruptedOthers() const {
  std::vector<Removal> names;
  if (!ledger_ || !ledger_->IsOpen()) return names;
  for (const std::string& name : CollectSubkeyNames(registry_, ledger_->Handle(), kRegKeyNameCapacity)) {
    if (Folded(name) == Folded(keyName_)) continue;
    // Read as its own run would read it, which finishes it only when it reads whole.
    Ledger other(registry_, codePage_);
    other.keyName_ = name;
    other.key_.emplace(registry_, ledger_->Handle(), name, kKeyQueryValue, ScopedKey::RefuseLinks{codePage_});
    // A finished one (most of them) is passed over at its first value.
    if (!other.key_->IsOpen() || other.key_->ReadText(ledger::kReleased, ledger::kTextCapacity)) continue;
    other.Read();
    if (other.state_ == State::kRunning) names.push_back({other.product_, other.variant_, other.language_});
  }
  return names;
}

}  // namespace tw
