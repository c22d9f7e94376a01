// The uninstall ledger: what a removal has done, kept in the registry so that
// the next run for the same product and language finishes a removal that
// was cut short and releases nothing for one that finished.
//
// Product and language identify the install, so they identify its removal:
// each removal has a key of its own, "<product> <language>" below
// SOFTWARE\Corvane\Talkwise\Uninstall, found as the registry finds names
// (without regard to case). The variant letter only selects engine data: it is recorded, and
// a removal is finished with the letter it began with, whatever the retry
// says. Each value is one record, written once (the count excepted) and
// sealed with a checksum:
//   "Choice"     2 <shared|full> <product> <variant> <language> <n> <hash> ...
//                (2: the format; n hashes of the registrations a full
//                removal was chosen among)
//   "Components" <n> <component 1> ... <component n>
//   "1", "2" ... <d|l> <counter hash>, a mark, the later one of a counter
//                deciding: d (done) or l (last user, its deletes under way)
//   "Records"    how many marks were written (the count, the one value
//                written again; a mark written just before a kill may be
//                one ahead of it)
//   "Released"   <time>, once the removal is done
// A key with no value is no entry (a run killed right after creating it).
// An entry that does not read whole (a value missing, cut, edited, a mark
// too many) is progress unknown, and so is an entry of the older format
// (one value "<product> <variant> <language>" in Uninstall) that is not
// "released <shared|full> <time>"; such an old released one still reads
// as released.
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
#include "registry/registrations.h"
#include "registry/scoped_key.h"

namespace tw {

class Ledger {
 public:
  // kUnknown: an entry that cannot be read whole; nothing more is released.
  enum class State { kNone, kRunning, kReleased, kUnknown };
  enum class Choice { kNone, kShared, kFull };
  // kDone: decremented, or a last use wholly released; a run that finishes
  // the removal skips it. kLastUser: its deletes are under way; repeated.
  enum class Mark { kNone, kDone, kLastUser };

  Ledger(Registry& registry, const CodePage& codePage) : registry_(registry), codePage_(codePage) {}

  // Opens the ledger key (never through a link) and reads this removal's
  // entry. The keys are created below the family key with the first record;
  // when they cannot be had, every record fails: no decrement is made
  // unrecorded.
  void Open(const std::string& product, const std::string& variant, const std::string& language);
  // Closes the keys; records after it fail.
  void Close();
  // A removal as its entry spells it.
  struct Removal {
    std::string product;
    std::string variant;
    std::string language;
  };
  // The other removals left running, spelled as they began; entries that do
  // not read as one are passed over.
  std::vector<Removal> InterruptedOthers() const;

  State EntryState() const { return state_; }
  const std::string& ReleasedAt() const { return releasedAt_; }
  Choice RecordedChoice() const { return choice_; }
  const std::optional<std::vector<std::string>>& RecordedComponents() const { return components_; }
  // A running entry's product, variant letter and language as recorded.
  const std::string& RecordedProduct() const { return product_; }
  const std::string& RecordedVariant() const { return variant_; }
  const std::string& RecordedLanguage() const { return language_; }

  // A new entry with the choice between shared release and full removal,
  // and for a full removal the registrations it was chosen among; false
  // when it could not be written. A finished removal's entry gives way.
  bool RecordChoice(Choice choice, const std::vector<Registration>& registrations = {});
  // The first registration that the recorded choice was not made among.
  std::optional<Registration> Unrecorded(const std::vector<Registration>& registrations) const;
  bool RecordComponents(const std::vector<std::string>& components);
  // The mark of one counter release: the same counter released again in the
  // same run (a component listed twice) is another mark.
  std::string Identify(RegKey root, const std::string& path, const char* valueName);
  Mark MarkOf(const std::string& id) const;
  // Records the mark before the caller acts on it; false when it could not
  // be written, and then the caller leaves its decrement undone.
  bool Record(const std::string& id, Mark mark);
  // The removal is done; time (no blank) says when.
  bool Finish(const std::string& time);

 private:
  void Read();
  void ReadEntry();
  void ReadOlderFormat();
  bool ReadChoice(const std::vector<std::string>& words);
  bool Create();
  bool Write(const char* valueName, const std::string& body);
  std::string Folded(std::string text) const;
  std::string RegistrationHash(const Registration& registration) const;

  Registry& registry_;
  const CodePage& codePage_;
  bool opened_ = false;
  std::optional<ScopedKey> family_;
  std::optional<ScopedKey> ledger_;
  std::optional<ScopedKey> key_;
  std::string keyName_;
  std::string product_;
  std::string variant_;
  std::string language_;
  State state_ = State::kNone;
  Choice choice_ = Choice::kNone;
  std::string releasedAt_;
  std::vector<std::string> seen_;
  std::optional<std::vector<std::string>> components_;
  std::map<std::string, Mark> marks_;
  std::uint32_t records_ = 0;
  std::map<std::string, int> occurrences_;
};

}  // namespace tw
