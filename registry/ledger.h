// The uninstall ledger: what a removal has done, kept in the registry so that
// the next run with the same product, variant letter and language finishes a
// removal that was cut short and releases nothing for one that finished.
//
// One REG_SZ value per removal in SOFTWARE\Corvane\Talkwise\Uninstall (a key
// the full removal leaves), named "<product> <variant> <language>" and
// overwritten by each removal of the same three. Its text is blank-separated:
//   running <choice> - <n> <component 1> ... <component n> <mark> ...
//   released <choice> <time>
// choice is "shared" or "full"; n is "-" until the component list is known;
// a mark is "d" (done) or "l" (last user, its deletes under way) and
// the hash of one counter.
//
// Every write that must not happen twice is recorded before it is made: a
// run cut between the record and the write loses that one decrement (a
// counter left one too high), and never repeats it. Deletes are simply
// repeated. Before Open the ledger keeps nothing and lets every write go.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "registry/scoped_key.h"

namespace tw {

class Ledger {
 public:
  enum class State { kNone, kRunning, kReleased };
  enum class Choice { kNone, kShared, kFull };
  // kDone: decremented, or a last use wholly released; a run that finishes
  // the removal skips it. kLastUser: its deletes are under way; repeated.
  enum class Mark { kNone, kDone, kLastUser };

  Ledger(Registry& registry, const CodePage& codePage) : registry_(registry), codePage_(codePage) {}

  // Opens the ledger key (never through a link) and reads this removal's
  // entry. The key is created below the family key with the first record;
  // when it cannot be had, every record fails: no decrement is made
  // unrecorded.
  void Open(const std::string& product, const std::string& variant, const std::string& language);
  // Closes the key; records after it fail.
  void Close();
  // The other removals that were cut short, as "<product> <variant>
  // <language>"; values that cannot be such a name are passed over.
  std::vector<std::string> InterruptedOthers() const;

  State EntryState() const { return state_; }
  const std::string& ReleasedAt() const { return releasedAt_; }
  Choice RecordedChoice() const { return choice_; }
  const std::optional<std::vector<std::string>>& RecordedComponents() const { return components_; }

  // A new running entry with the choice between shared release and full
  // removal; false when it could not be written.
  bool RecordChoice(Choice choice);
  bool RecordComponents(const std::vector<std::string>& components);
  // The mark of one counter release: the same counter released again in the
  // same run (a component listed twice) is another mark.
  std::string Identify(RegKey root, const std::string& path, const char* valueName);
  Mark MarkOf(const std::string& id) const;
  // Records the mark before the caller acts on it; false when it could not
  // be written, and then the caller leaves its decrement undone.
  bool Record(const std::string& id, Mark mark);
  // The removal is done; time says when.
  bool Finish(const std::string& time);

 private:
  bool Create();
  bool Write(const std::string& text);
  std::string RunningText() const;
  void Parse(const std::string& text);

  Registry& registry_;
  const CodePage& codePage_;
  bool opened_ = false;
  std::optional<ScopedKey> family_;
  std::optional<ScopedKey> key_;
  std::string name_;
  State state_ = State::kNone;
  Choice choice_ = Choice::kNone;
  std::string releasedAt_;
  std::optional<std::vector<std::string>> components_;
  std::map<std::string, Mark> marks_;
  std::map<std::string, int> occurrences_;
};

}  // namespace tw
