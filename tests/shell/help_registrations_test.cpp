// Help-file registrations: removing the family's and registering the files of
// the product that stays.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "registry/enumeration.h"
#include "registry/layout.h"
#include "registry/scoped_key.h"
#include "tests/support/registry_probe.h"
#include "tests/support/test_platform.h"

namespace tw::test {
namespace {

constexpr const char* kD = "C:\\Talkwise\\Dict";
constexpr const char* kC = "C:\\Talkwise\\Ctrl";

class HelpTest : public ::testing::Test {
 protected:
  // The system's help key is always there; the program never creates it.
  void SetUp() override {
    RegKey key = 0;
    ASSERT_EQ(platform.registry.CreateKey(kHkeyLocalMachine, layout::kHelpRegistrations, &key), kErrorSuccess);
    platform.registry.CloseKey(key);
  }
  // The application with its command line read.
  std::unique_ptr<UninstallApp> App(const std::string& commandLine) {
    auto app = platform.MakeApp(commandLine);
    EXPECT_TRUE(app->ParseCommandLine());
    return app;
  }
  void SetHelpDirectories(std::optional<std::string> dictation, std::optional<std::string> control) {
    if (dictation) WriteText(platform.registry, kHkeyLocalMachine, Family("Dictation\\Directories"), "Help", *dictation);
    if (control) WriteText(platform.registry, kHkeyLocalMachine, Family("Control\\Directories"), "Help", *control);
  }
  void Register(const std::string& name, const std::string& directory) {
    WriteText(platform.registry, kHkeyLocalMachine, layout::kHelpRegistrations, name, directory);
  }
  // Registrations in their stored order, name and data.
  std::vector<std::pair<std::string, std::string>> Registrations() {
    std::vector<std::pair<std::string, std::string>> result;
    ScopedKey key(platform.registry, kHkeyLocalMachine, std::string(layout::kHelpRegistrations), kKeyQueryValue);
    for (const RegistryValue& value : CollectValues(platform.registry, key.Handle(), 20000, 20000)) {
      result.emplace_back(value.name, value.Text());
    }
    return result;
  }
  std::set<std::string> Names() {
    std::set<std::string> names;
    for (const auto& registration : Registrations()) names.insert(registration.first);
    return names;
  }
  void ExpectNothingLeftOpen() {
    EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
    EXPECT_EQ(platform.files.OpenSearchCount(), 0u);
  }

  TestPlatform platform;
};

// ---- RemoveHelpRegistrations ----

struct RemovalRow {
  const char* name;
  std::optional<std::string> dictation;
  std::optional<std::string> control;
  std::set<std::string> deleted;  // registrations named after the directory they point to
};

void PrintTo(const RemovalRow& row, std::ostream* out) { *out << row.name; }

class RemovalTableTest : public HelpTest, public ::testing::WithParamInterface<RemovalRow> {};

TEST_P(RemovalTableTest, DeletesExactlyTheFamilysDirectories) {
  const RemovalRow& row = GetParam();
  SetHelpDirectories(row.dictation, row.control);
  const std::vector<std::string> all = {"D", "C", "D\\twc", "D\\twlite", "D\\combined", "C\\twc", "C\\twlite",
                                        "C\\combined", "D\\other", "X"};
  for (const std::string& label : all) {
    const std::string base = label[0] == 'D' ? kD : label[0] == 'C' ? kC : "C:\\Elsewhere";
    Register(label + ".hlp", base + label.substr(1));
  }
  App("ProdTWC C EN_US u log")->RemoveHelpRegistrations();
  std::set<std::string> expected;
  for (const std::string& label : all) {
    if (!row.deleted.count(label)) expected.insert(label + ".hlp");
  }
  EXPECT_EQ(Names(), expected);
  ExpectNothingLeftOpen();
}

INSTANTIATE_TEST_SUITE_P(
    EachRow, RemovalTableTest,
    ::testing::Values(
        RemovalRow{"NoDirectories", std::nullopt, std::nullopt, {}},
        RemovalRow{"ControlOnly", std::nullopt, std::string(kC), {"C", "C\\twc", "C\\twlite", "C\\combined"}},
        RemovalRow{"DictationOnly", std::string(kD), std::nullopt, {"D", "D\\twc", "D\\twlite", "D\\combined"}},
        RemovalRow{"EqualButForCase", std::string(kD), std::string("c:\\TALKWISE\\dict"),
                   {"D", "D\\twc", "D\\twlite", "D\\combined"}},
        RemovalRow{"Different", std::string(kD), std::string(kC), {"D", "C", "C\\twc", "D\\twlite", "D\\combined"}},
        // An empty directory names nothing: it is treated as a missing one.
        RemovalRow{"EmptyDictation", std::string(""), std::string(kC), {"C", "C\\twc", "C\\twlite", "C\\combined"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HelpTest, RemovalMatchesWithoutRegardToCaseButOtherwiseExactly) {
  SetHelpDirectories(std::string(kD), std::nullopt);
  Register("case.hlp", "c:\\TALKWISE\\DICT\\TwLite");
  Register("trailing.hlp", "C:\\Talkwise\\Dict\\");
  Register("trailingProduct.hlp", "C:\\Talkwise\\Dict\\twc\\");
  Register("below.hlp", "C:\\Talkwise\\Dict\\twc\\en");
  Register("prefix.hlp", "C:\\Talkwise\\Dic");
  Register("foreign.hlp", "C:\\Talkwise\\Dict\\combined");  // not the family's file, but its directory
  App("ProdTWC C EN_US u log")->RemoveHelpRegistrations();
  EXPECT_EQ(Names(), (std::set<std::string>{"trailing.hlp", "trailingProduct.hlp", "below.hlp", "prefix.hlp"}));
}

TEST_F(HelpTest, RemovalDeletesEveryOneOfSeveralMatchesInARow) {
  SetHelpDirectories(std::string(kD), std::nullopt);
  Register("keep1.hlp", "C:\\x");
  for (int i = 0; i < 5; ++i) Register("gone" + std::to_string(i) + ".hlp", std::string(kD) + "\\twc");
  Register("keep2.hlp", "C:\\y");
  Register("gone5.hlp", kD);
  App("ProdTWC C EN_US u log")->RemoveHelpRegistrations();
  EXPECT_EQ(Names(), (std::set<std::string>{"keep1.hlp", "keep2.hlp"}));
}

TEST_F(HelpTest, RemovalPassesOverNamesAndDataTooLongForTheBuffers) {
  SetHelpDirectories(std::string(kD), std::nullopt);
  const std::string longestName(255, 'n');
  const std::string tooLongName(256, 'm');
  Register(longestName, kD);
  Register(tooLongName, kD);
  // Data whose text is D, padded with terminators beyond the 260-byte buffer.
  std::vector<std::uint8_t> padded(kD, kD + std::string(kD).size());
  padded.resize(261, 0);
  WriteValue(platform.registry, kHkeyLocalMachine, layout::kHelpRegistrations, "padded.hlp", kRegSz, padded);
  padded.resize(260);
  WriteValue(platform.registry, kHkeyLocalMachine, layout::kHelpRegistrations, "fits.hlp", kRegSz, padded);
  App("ProdTWC C EN_US u log")->RemoveHelpRegistrations();
  EXPECT_EQ(Names(), (std::set<std::string>{tooLongName, "padded.hlp"}));
}

TEST_F(HelpTest, RemovalLeavesProductDirectoriesThatDoNotFitAPath) {
  // 254 characters: the directory itself fits, D\twc (258) fits, D\twlite (261) does not.
  const std::string longDirectory = "C:\\" + std::string(251, 'd');
  SetHelpDirectories(longDirectory, std::nullopt);
  Register("dir.hlp", longDirectory);
  Register("twc.hlp", longDirectory + "\\twc");
  Register("twlite.hlp", longDirectory + "\\twlite");
  App("ProdTWC C EN_US u log")->RemoveHelpRegistrations();
  EXPECT_EQ(Names(), (std::set<std::string>{"twlite.hlp"}));
}

TEST_F(HelpTest, RemovalChangesNothingWhenTheHelpKeyCannotBeWritten) {
  TW_PORTABLE_ONLY();
  SetHelpDirectories(std::string(kD), std::nullopt);
  Register("a.hlp", kD);
  platform.registry.Protect(kHkeyLocalMachine, layout::kHelpRegistrations);
  App("ProdTWC C EN_US u log")->RemoveHelpRegistrations();
  EXPECT_EQ(Names(), (std::set<std::string>{"a.hlp"}));
  ExpectNothingLeftOpen();
}

// ---- RepointHelpFiles ----

struct BaseRow {
  const char* name;
  std::optional<std::string> dictation;
  std::optional<std::string> control;
  const char* productCode;
  std::optional<std::string> base;  // nothing: no registration is written
};

void PrintTo(const BaseRow& row, std::ostream* out) { *out << row.name; }

class BaseDirectoryTest : public HelpTest, public ::testing::WithParamInterface<BaseRow> {};

TEST_P(BaseDirectoryTest, RegistersUnderTheChosenBaseDirectory) {
  const BaseRow& row = GetParam();
  SetHelpDirectories(row.dictation, row.control);
  for (const char* directory : {kD, kC}) platform.WriteFile(std::string(directory) + "\\twc\\twcUS.hlp");
  App(std::string(row.productCode) + " C EN_US u log")->RepointHelpFiles("twc");
  if (row.base) {
    EXPECT_EQ(Registrations(), (std::vector<std::pair<std::string, std::string>>{{"twcus.hlp", *row.base + "\\twc"}}));
  } else {
    EXPECT_TRUE(Registrations().empty());
  }
  ExpectNothingLeftOpen();
}

INSTANTIATE_TEST_SUITE_P(
    EachRow, BaseDirectoryTest,
    ::testing::Values(
        BaseRow{"None", std::nullopt, std::nullopt, "ProdTWDLite", std::nullopt},
        BaseRow{"ControlOnly", std::nullopt, std::string(kC), "ProdTWC", std::string(kC)},
        BaseRow{"ControlOnlyLite", std::nullopt, std::string(kC), "ProdTWDLite", std::string(kC)},
        BaseRow{"DictationOnly", std::string(kD), std::nullopt, "ProdTWDLite", std::string(kD)},
        BaseRow{"EqualButForCase", std::string(kD), std::string("C:\\TALKWISE\\DICT"), "ProdTWDLite", std::string(kD)},
        BaseRow{"DifferentLite", std::string(kD), std::string(kC), "ProdTWDLite", std::string(kC)},
        BaseRow{"DifferentTwc", std::string(kD), std::string(kC), "ProdTWC", std::string(kD)},
        BaseRow{"DifferentLowercaseLite", std::string(kD), std::string(kC), "prodtwdlite", std::string(kD)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HelpTest, RepointRegistersHelpThenContentsFilesOfTheLanguageLowerCased) {
  SetHelpDirectories(std::string(kD), std::nullopt);
  const std::string product = std::string(kD) + "\\twc";
  for (const char* file : {"TwcUS.HLP", "RefBookUS.hlp", "TwcUS.cnt", "TwcFR.hlp", "TwcFR.cnt", "readme.txt",
                           "UShelp.hlp"}) {
    platform.WriteFile(product + "\\" + file);
  }
  Register("twcus.hlp", "C:\\Old\\Place");
  Register("unrelated.hlp", "C:\\Else");
  App("ProdTWDLite D en_us u log")->RepointHelpFiles("twc");
  const std::vector<std::pair<std::string, std::string>> expected{
      {"twcus.hlp", product}, {"unrelated.hlp", "C:\\Else"}, {"refbookus.hlp", product}, {"twcus.cnt", product}};
  if (kPortablePlatform) {
    EXPECT_EQ(Registrations(), expected);
  } else {  // Wine enumerates values by name, not in creation order
    EXPECT_THAT(Registrations(), ::testing::UnorderedElementsAreArray(expected));
  }
  EXPECT_EQ(ValueBytes(platform.registry, kHkeyLocalMachine, layout::kHelpRegistrations, "twcus.cnt")->size(), product.size() + 1);
  ScopedKey key(platform.registry, kHkeyLocalMachine, std::string(layout::kHelpRegistrations), kKeyQueryValue);
  for (const RegistryValue& value : CollectValues(platform.registry, key.Handle(), 256, 260)) {
    EXPECT_EQ(value.type, kRegSz) << value.name;
  }
}

TEST_F(HelpTest, RepointWritesInSearchOrderHelpFilesFirst) {
  TW_PORTABLE_ONLY();  // the order is seen through the values' creation order, which Wine does not keep
  SetHelpDirectories(std::nullopt, std::string(kC));
  const std::string product = std::string(kC) + "\\twlite";
  for (const char* file : {"b_US.cnt", "a_US.cnt", "d_US.hlp", "c_US.hlp"}) platform.WriteFile(product + "\\" + file);
  App("ProdTWC D EN_US u log")->RepointHelpFiles("twlite");
  std::vector<std::string> order;
  for (const auto& registration : Registrations()) order.push_back(registration.first);
  EXPECT_EQ(order, (std::vector<std::string>{"c_us.hlp", "d_us.hlp", "a_us.cnt", "b_us.cnt"}));
  ExpectNothingLeftOpen();
}

TEST_F(HelpTest, RepointRegistersNothingForContentsFilesAlone) {
  SetHelpDirectories(std::string(kD), std::nullopt);
  platform.WriteFile(std::string(kD) + "\\twc\\twcUS.cnt");
  platform.WriteFile(std::string(kD) + "\\twc\\twcFR.hlp");
  App("ProdTWDLite D EN_US u log")->RepointHelpFiles("twc");
  EXPECT_TRUE(Registrations().empty());
  ExpectNothingLeftOpen();
}

TEST_F(HelpTest, RepointLeavesPathsThatWouldNotFit) {
  TW_NEEDS_OVERLONG_PATHS();
  for (std::size_t length : {252u, 253u}) {
    // 252: the product directory fits (259 characters), its search pattern does not;
    // 253: the product directory itself does not fit.
    TestPlatform fresh;
    const std::string directory = "C:\\" + std::string(length, 'd');
    WriteText(fresh.registry, kHkeyLocalMachine, Family("Dictation\\Directories"), "Help", directory);
    WriteText(fresh.registry, kHkeyLocalMachine, layout::kHelpRegistrations, "keep.hlp", "C:\\x");
    fresh.WriteFile(directory + "\\twc\\aUS.hlp");
    auto app = fresh.MakeApp("ProdTWDLite D EN_US u log");
    ASSERT_TRUE(app->ParseCommandLine());
    app->RepointHelpFiles("twc");
    ScopedKey key(fresh.registry, kHkeyLocalMachine, std::string(layout::kHelpRegistrations), kKeyQueryValue);
    EXPECT_EQ(CollectValues(fresh.registry, key.Handle(), 256, 260).size(), 1u) << length;
  }
}

TEST_F(HelpTest, RepointWritesNothingWhenTheHelpKeyCannotBeWritten) {
  TW_PORTABLE_ONLY();
  SetHelpDirectories(std::string(kD), std::nullopt);
  platform.WriteFile(std::string(kD) + "\\twc\\twcUS.hlp");
  platform.registry.Protect(kHkeyLocalMachine, layout::kHelpRegistrations);
  App("ProdTWDLite D EN_US u log")->RepointHelpFiles("twc");
  EXPECT_TRUE(Registrations().empty());
  ExpectNothingLeftOpen();
}

}  // namespace
}  // namespace tw::test
