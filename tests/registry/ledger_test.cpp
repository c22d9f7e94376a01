// The uninstall ledger on its own: what one removal writes reads back whole,
// under any spelling of its product and language; whatever does not read
// whole is progress unknown; the older format's released entries stay
// released; other removals left running are found, damaged ones are not.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "registry/ledger.h"
#include "registry/sealed_text.h"
#include "tests/support/fault_injection.h"
#include "tests/support/registry_probe.h"
#include "tests/support/test_platform.h"

namespace tw::test {
namespace {

const std::string kLedger = Family("Uninstall");
const std::string kEntry = Family("Uninstall\\ProdTWDLite EN_US");

// The family key, and nothing below it.
constexpr const char* kFreshFamily =
    "REGEDIT4\n\n[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane]\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Talkwise]\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Victim]\n";

class LedgerTest : public ::testing::Test {
 public:
  LedgerTest() { platform.LoadRegText(kFreshFamily); }

  // A shared release of ProdTWDLite D EN_US cut short after three marks,
  // the second one settled later: "1" d, "2" l, "3" d (the second again).
  void WriteRunningEntry() {
    Ledger ledger(platform.registry, platform.codePage);
    ledger.Open("ProdTWDLite", "D", "EN_US");
    ASSERT_TRUE(ledger.RecordChoice(Ledger::Choice::kShared));
    ASSERT_TRUE(ledger.RecordComponents({"Control", "Dictation\tTab", "Help"}));
    first = ledger.Identify(kHkeyLocalMachine, "SOFTWARE\\Corvane\\Talkwise\\Control", "UsageCtr");
    second = ledger.Identify(kHkeyLocalMachine, "SOFTWARE\\Corvane\\Talkwise\\Help", "UsageCtr");
    ASSERT_TRUE(ledger.Record(first, Ledger::Mark::kDone));
    ASSERT_TRUE(ledger.Record(second, Ledger::Mark::kLastUser));
    ASSERT_TRUE(ledger.Record(second, Ledger::Mark::kDone));
    ledger.Close();
  }

  Ledger::State StateFor(const std::string& product, const std::string& variant, const std::string& language) {
    Ledger ledger(platform.registry, platform.codePage);
    ledger.Open(product, variant, language);
    const Ledger::State state = ledger.EntryState();
    ledger.Close();
    return state;
  }

  void DeleteValue(const std::string& path, const char* name) {
    RegKey key = 0;
    ASSERT_EQ(platform.registry.OpenKey(kHkeyLocalMachine, path.c_str(), kKeyAllAccess, &key), kErrorSuccess);
    EXPECT_EQ(platform.registry.DeleteValue(key, name), kErrorSuccess);
    platform.registry.CloseKey(key);
  }

  TestPlatform platform;
  std::string first;
  std::string second;
};

// Read back under every spelling the registry takes for the same names, the
// removal is the one that began: its spelling, variant letter, choice,
// components (a tab is part of a name, only blanks separate) and marks.
TEST_F(LedgerTest, AnEntryReadsBackWholeUnderAnySpellingOfItsProductAndLanguage) {
  WriteRunningEntry();
  struct Spelling {
    const char* product;
    const char* variant;
    const char* language;
  };
  for (const Spelling& spelling : {Spelling{"ProdTWDLite", "D", "EN_US"}, Spelling{"prodtwdlite", "d", "EN_US"},
                                   Spelling{"PRODTWDLITE", "X", "en_us"}, Spelling{"ProdTWDLite", "-", "En_Us"}}) {
    SCOPED_TRACE(std::string(spelling.product) + " " + spelling.variant + " " + spelling.language);
    Ledger ledger(platform.registry, platform.codePage);
    ledger.Open(spelling.product, spelling.variant, spelling.language);
    EXPECT_EQ(ledger.EntryState(), Ledger::State::kRunning);
    EXPECT_EQ(ledger.RecordedChoice(), Ledger::Choice::kShared);
    EXPECT_EQ(ledger.RecordedProduct(), "ProdTWDLite");
    EXPECT_EQ(ledger.RecordedVariant(), "D");
    EXPECT_EQ(ledger.RecordedLanguage(), "EN_US");
    ASSERT_TRUE(ledger.RecordedComponents());
    EXPECT_EQ(*ledger.RecordedComponents(), (std::vector<std::string>{"Control", "Dictation\tTab", "Help"}));
    // The same counters, however the path is spelled.
    EXPECT_EQ(ledger.MarkOf(ledger.Identify(kHkeyLocalMachine, "software\\corvane\\talkwise\\control", "usagectr")),
              Ledger::Mark::kDone);
    EXPECT_EQ(ledger.MarkOf(ledger.Identify(kHkeyLocalMachine, "SOFTWARE\\Corvane\\Talkwise\\Help", "UsageCtr")),
              Ledger::Mark::kDone);
    // A counter released a second time in the run is another mark.
    EXPECT_EQ(ledger.MarkOf(ledger.Identify(kHkeyLocalMachine, "SOFTWARE\\Corvane\\Talkwise\\Help", "UsageCtr")),
              Ledger::Mark::kNone);
    ledger.Close();
  }
  EXPECT_EQ(StateFor("ProdTWC", "D", "EN_US"), Ledger::State::kNone);
  EXPECT_EQ(StateFor("ProdTWDLite", "D", "DE_DE"), Ledger::State::kNone);
  EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
}

// Finished, the entry is released, under any spelling; its choice and marks
// do not go on into the next removal, which replaces the entry.
TEST_F(LedgerTest, AFinishedEntryIsReleasedAndGivesWayToTheNextRemoval) {
  WriteRunningEntry();
  {
    Ledger ledger(platform.registry, platform.codePage);
    ledger.Open("ProdTWDLite", "D", "EN_US");
    ASSERT_TRUE(ledger.Finish("2026-01-02T03:04:05Z"));
    ledger.Close();
  }
  Ledger ledger(platform.registry, platform.codePage);
  ledger.Open("prodtwdlite", "x", "EN_US");
  EXPECT_EQ(ledger.EntryState(), Ledger::State::kReleased);
  EXPECT_EQ(ledger.ReleasedAt(), "2026-01-02T03:04:05Z");
  EXPECT_EQ(ledger.RecordedChoice(), Ledger::Choice::kNone);
  EXPECT_FALSE(ledger.RecordedComponents());
  EXPECT_EQ(ledger.MarkOf(first), Ledger::Mark::kNone);
  ASSERT_TRUE(ledger.RecordChoice(Ledger::Choice::kFull));
  ledger.Close();
  EXPECT_FALSE(TextValue(platform.registry, kHkeyLocalMachine, kEntry, "1"));
  EXPECT_FALSE(TextValue(platform.registry, kHkeyLocalMachine, kEntry, "Released"));
  Ledger next(platform.registry, platform.codePage);
  next.Open("ProdTWDLite", "X", "EN_US");
  EXPECT_EQ(next.EntryState(), Ledger::State::kRunning);
  EXPECT_EQ(next.RecordedChoice(), Ledger::Choice::kFull);
  EXPECT_EQ(next.RecordedVariant(), "x");
}

// Every way the entry can be cut or edited: progress unknown, and a record
// into it fails. A key with no value yet is no entry; a mark one ahead of
// the count is a kill between the two writes, and reads.
TEST_F(LedgerTest, AnEntryThatDoesNotReadWholeIsProgressUnknown) {
  struct Damage {
    const char* name;
    std::function<void(LedgerTest&)> apply;
    Ledger::State expected;
  };
  const auto text = [](const char* value, std::string data) {
    return [=](LedgerTest& t) { WriteText(t.platform.registry, kHkeyLocalMachine, kEntry, value, data); };
  };
  const auto cut = [](const char* value) {
    return [=](LedgerTest& t) {
      const std::string data = *TextValue(t.platform.registry, kHkeyLocalMachine, kEntry, value);
      WriteText(t.platform.registry, kHkeyLocalMachine, kEntry, value, data.substr(0, data.size() - 3));
    };
  };
  const auto remove = [](const char* value) { return [=](LedgerTest& t) { t.DeleteValue(kEntry, value); }; };
  const std::vector<Damage> cases = {
      {"choice cut short", cut("Choice"), Ledger::State::kUnknown},
      {"choice of the older format", text("Choice", "running shared - 3 Control Dictation Help"), Ledger::State::kUnknown},
      {"choice deleted", remove("Choice"), Ledger::State::kUnknown},
      {"choice of another product", text("Choice", Sealed("Choice", "2 shared ProdTWC D EN_US 0")), Ledger::State::kUnknown},
      {"choice in another format", text("Choice", Sealed("Choice", "3 shared ProdTWDLite D EN_US 0")), Ledger::State::kUnknown},
      {"choice with a registration too few", text("Choice", Sealed("Choice", "2 full ProdTWDLite D EN_US 1")),
       Ledger::State::kUnknown},
      {"components cut short", cut("Components"), Ledger::State::kUnknown},
      {"a mark cut short", cut("2"), Ledger::State::kUnknown},
      {"a mark edited", [](LedgerTest& t) {
         std::string data = *TextValue(t.platform.registry, kHkeyLocalMachine, kEntry, "1");
         data[0] = 'l';
         WriteText(t.platform.registry, kHkeyLocalMachine, kEntry, "1", data);
       }, Ledger::State::kUnknown},
      {"a mark moved to another name", [](LedgerTest& t) {
         WriteText(t.platform.registry, kHkeyLocalMachine, kEntry, "2",
                   *TextValue(t.platform.registry, kHkeyLocalMachine, kEntry, "1"));
       }, Ledger::State::kUnknown},
      {"a mark deleted", remove("2"), Ledger::State::kUnknown},
      {"the last mark deleted", remove("3"), Ledger::State::kUnknown},
      {"the count of marks deleted", remove("Records"), Ledger::State::kUnknown},
      {"the count two short", text("Records", "1"), Ledger::State::kUnknown},
      {"the count not a number", text("Records", "3 "), Ledger::State::kUnknown},
      {"the count one short: killed before it was written", text("Records", "2"), Ledger::State::kRunning},
      {"a mark too many", [](LedgerTest& t) {
         WriteText(t.platform.registry, kHkeyLocalMachine, kEntry, "5", "d 00000000 00000000");
       }, Ledger::State::kUnknown},
      {"the time of release cut", text("Released", "2026"), Ledger::State::kUnknown},
      {"every value deleted: killed before the first record",
       [](LedgerTest& t) {
         for (const char* value : {"Choice", "Components", "1", "2", "3", "Records"}) t.DeleteValue(kEntry, value);
       },
       Ledger::State::kNone},
      {"the entry a link", [](LedgerTest& t) {
         RegKey key = 0;
         ASSERT_EQ(t.platform.registry.OpenKey(kHkeyLocalMachine, kLedger.c_str(), kKeyAllAccess, &key), kErrorSuccess);
         ASSERT_EQ(t.platform.registry.DeleteKey(key, "ProdTWDLite EN_US"), kErrorSuccess);
         ASSERT_EQ(t.platform.registry.CreateLink(key, "ProdTWDLite EN_US", kHkeyLocalMachine, "SOFTWARE\\Victim"),
                   kErrorSuccess);
         t.platform.registry.CloseKey(key);
       }, Ledger::State::kUnknown},
  };
  for (const Damage& damage : cases) {
    SCOPED_TRACE(damage.name);
    platform.LoadRegText(kFreshFamily);
    WriteRunningEntry();
    damage.apply(*this);
    Ledger ledger(platform.registry, platform.codePage);
    ledger.Open("ProdTWDLite", "D", "EN_US");
    EXPECT_EQ(ledger.EntryState(), damage.expected);
    if (damage.expected == Ledger::State::kUnknown) {
      EXPECT_FALSE(ledger.RecordChoice(Ledger::Choice::kShared));
      EXPECT_FALSE(ledger.Record(first, Ledger::Mark::kDone));
      EXPECT_FALSE(ledger.Finish("now"));
    }
    if (damage.expected == Ledger::State::kRunning) {
      EXPECT_EQ(ledger.MarkOf(first), Ledger::Mark::kDone);
    }
    ledger.Close();
    EXPECT_FALSE(KeyExists(platform.registry, kHkeyLocalMachine, "SOFTWARE\\Victim\\1"));
    EXPECT_FALSE(TextValue(platform.registry, kHkeyLocalMachine, "SOFTWARE\\Victim", "Released"));
  }
}

// Entries the previous format wrote, one value "<product> <variant>
// <language>" in the ledger's key: a released one stays released (under
// any variant letter), anything else is progress unknown; a removal's own
// key, once a later removal made it, decides.
TEST_F(LedgerTest, AnEntryOfTheOlderFormatIsReleasedOnlyWhenItSaysSoWhole) {
  struct Old {
    const char* name;
    const char* text;
    Ledger::State expected;
  };
  const Old cases[] = {
      {"ProdTWDLite D EN_US", "released shared 2020-01-01T00:00:00Z", Ledger::State::kReleased},
      {"prodtwdlite x en_us", "released full 2020-01-01T00:00:00Z", Ledger::State::kReleased},
      {"ProdTWDLite D EN_US", "running shared - 2 Control Dictation d0badf00d", Ledger::State::kUnknown},
      {"ProdTWDLite D EN_US", "released shared", Ledger::State::kUnknown},
      {"ProdTWDLite D EN_US", "", Ledger::State::kUnknown},
      {"ProdTWDLite D EN_US", "released sometimes 2020", Ledger::State::kUnknown},
      {"ProdTWC C EN_US", "running shared - -", Ledger::State::kNone},
      {"ProdTWDLite D DE_DE", "running shared - -", Ledger::State::kNone},
  };
  for (const Old& old : cases) {
    SCOPED_TRACE(std::string(old.name) + " = " + old.text);
    platform.LoadRegText(kFreshFamily);
    WriteText(platform.registry, kHkeyLocalMachine, kLedger, old.name, old.text);
    EXPECT_EQ(StateFor("ProdTWDLite", "D", "EN_US"), old.expected);
    if (old.expected == Ledger::State::kUnknown) continue;  // and no removal records anything
    WriteRunningEntry();
    EXPECT_EQ(StateFor("ProdTWDLite", "D", "EN_US"), Ledger::State::kRunning);
  }
}

// The other removals left running, spelled as they began; finished, damaged
// and older-format ones are not for another run to finish, nor is this one
// in another spelling.
TEST_F(LedgerTest, InterruptedOthersAreTheOtherRemovalsLeftRunningThatReadWhole) {
  const auto begin = [&](const char* product, const char* variant, const char* language, bool finish) {
    Ledger ledger(platform.registry, platform.codePage);
    ledger.Open(product, variant, language);
    ASSERT_TRUE(ledger.RecordChoice(Ledger::Choice::kShared));
    ASSERT_TRUE(ledger.Record(ledger.Identify(kHkeyLocalMachine, "SOFTWARE\\A", "B"), Ledger::Mark::kDone));
    if (finish) {
      ASSERT_TRUE(ledger.Finish("now"));
    }
    ledger.Close();
  };
  begin("prodtwdlite", "d", "EN_US", false);
  begin("ProdTWC", "C", "EN_US", false);
  begin("ProdTWD", "X", "DE_DE", true);
  begin("ProdRun", "C", "FR_FR", false);
  begin("ProdRun", "D", "JA_JP", false);
  WriteText(platform.registry, kHkeyLocalMachine, Family("Uninstall\\ProdRun FR_FR"), "1", "d 00000000 00000000");
  WriteText(platform.registry, kHkeyLocalMachine, kLedger, "ProdTWD X ZH_CN", "running shared - -");
  Ledger ledger(platform.registry, platform.codePage);
  ledger.Open("ProdTWDLite", "D", "EN_US");
  std::vector<std::string> others;
  for (const Ledger::Removal& other : ledger.InterruptedOthers()) {
    others.push_back(other.product + " " + other.variant + " " + other.language);
  }
  std::sort(others.begin(), others.end());
  EXPECT_EQ(others, (std::vector<std::string>{"ProdRun D JA_JP", "ProdTWC C EN_US"}));
  ledger.Close();
  EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
}

// A full removal is resumed only among the registrations it was chosen
// among, whatever their spelling now.
TEST_F(LedgerTest, AFullRemovalRecordsTheRegistrationsItWasChosenAmong) {
  {
    Ledger ledger(platform.registry, platform.codePage);
    ledger.Open("ProdTWC", "C", "EN_US");
    ASSERT_TRUE(ledger.RecordChoice(Ledger::Choice::kFull, {{"ProdTWC", "EN_US"}, {"ProdTWDLite", "ZH_CN"}}));
    ledger.Close();
  }
  Ledger ledger(platform.registry, platform.codePage);
  ledger.Open("ProdTWC", "C", "EN_US");
  ASSERT_EQ(ledger.EntryState(), Ledger::State::kRunning);
  EXPECT_FALSE(ledger.Unrecorded({}));
  EXPECT_FALSE(ledger.Unrecorded({{"prodtwdlite", "zh_cn"}, {"PRODTWC", "EN_US"}}));
  const auto newcomer = ledger.Unrecorded({{"ProdTWC", "EN_US"}, {"ProdTWD", "EN_US"}});
  ASSERT_TRUE(newcomer);
  EXPECT_EQ(newcomer->product, "ProdTWD");
  EXPECT_TRUE(ledger.Unrecorded({{"ProdTWC", "ZH_CN"}}));
  ledger.Close();
}

// A record is one small value and the count: the same calls for the first
// mark as for the thousandth.
TEST_F(LedgerTest, ARecordCostsTheSameHoweverManyCameBefore) {
  FaultSchedule counting;
  FaultyRegistry registry(platform.registry, counting);
  Ledger ledger(registry, platform.codePage);
  ledger.Open("ProdTWDLite", "D", "EN_US");
  ASSERT_TRUE(ledger.RecordChoice(Ledger::Choice::kShared));
  std::vector<std::uint64_t> calls;
  for (int i = 0; i < 1000; ++i) {
    const std::uint64_t before = counting.Calls();
    ASSERT_TRUE(ledger.Record(ledger.Identify(kHkeyLocalMachine, "SOFTWARE\\A", "B"), Ledger::Mark::kDone));
    calls.push_back(counting.Calls() - before);
  }
  ledger.Close();
  EXPECT_EQ(calls.front(), 2u);
  EXPECT_EQ(calls.back(), 2u);
  EXPECT_LE(TextValue(platform.registry, kHkeyLocalMachine, kEntry, "1000")->size(), 20u);
}

}  // namespace
}  // namespace tw::test
