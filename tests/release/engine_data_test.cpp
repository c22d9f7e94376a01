// Release of the speech engine's per-language data sets.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/registry_probe.h"
#include "tests/support/test_platform.h"

namespace tw::test {
namespace {

const std::string kEngineLanguage = Family("Engine\\Languages\\AB_CD");

struct StoredValue {
  ValueType type = kRegNone;
  std::vector<std::uint8_t> data;
  bool operator==(const StoredValue& other) const { return type == other.type && data == other.data; }
};

std::optional<StoredValue> Stored(Registry& registry, const std::string& name) {
  RegKey key = 0;
  if (registry.OpenKey(kHkeyLocalMachine, kEngineLanguage.c_str(), kKeyQueryValue, &key) != kErrorSuccess) {
    return std::nullopt;
  }
  StoredValue value;
  std::uint8_t data[16] = {};
  std::uint32_t size = sizeof data;
  const bool found = registry.QueryValue(key, name.c_str(), &value.type, data, &size) == kErrorSuccess;
  registry.CloseKey(key);
  if (!found) return std::nullopt;
  value.data.assign(data, data + size);
  return value;
}

const StoredValue kZeroCounter{kRegDword, {0, 0, 0, 0}};
const StoredValue kZeroFlag{kRegBinary, {0}};
const StoredValue kSetFlag{kRegBinary, {1}};
StoredValue Counter(std::uint32_t n) {
  return {kRegDword, {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n >> 16),
                      static_cast<std::uint8_t>(n >> 24)}};
}

// What one data set's values hold at some moment.
struct DataSetState {
  std::optional<StoredValue> counter;
  std::optional<StoredValue> flag;
  bool operator==(const DataSetState& other) const { return counter == other.counter && flag == other.flag; }
};

// Records, with each call, what both data sets held when it came.
class ObservingSpeechEngine : public RecordingSpeechEngine {
 public:
  explicit ObservingSpeechEngine(Registry& registry) : registry_(registry) {}

  std::int32_t UninstallSpeechUser(WindowHandle window, InstanceHandle instance, const char* languageCode,
                                   const char* userName) override {
    seen.push_back({{Stored(registry_, "NavDataCtr"), Stored(registry_, "NavData")},
                    {Stored(registry_, "DictDataCtr"), Stored(registry_, "DictData")}});
    return RecordingSpeechEngine::UninstallSpeechUser(window, instance, languageCode, userName);
  }

  struct Seen {
    DataSetState nav;
    DataSetState dict;
  };
  std::vector<Seen> seen;

 private:
  Registry& registry_;
};

class EngineDataTest : public ::testing::Test {
 protected:
  void Release(const std::string& variant, const std::string& language = "ab_cd") {
    UninstallApp app(platform.View().With(engine), "ProdTWDLite " + variant + " " + language + " C:\\u.exe u.log", TestPlatform::kInstance);
    ASSERT_TRUE(app.ParseCommandLine());
    app.ReleaseEngineData();
    EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
  }

  void StoreDataSet(const char* name, std::optional<std::uint32_t> counter, const std::string& key = kEngineLanguage) {
    WriteValue(platform.registry, kHkeyLocalMachine, key, name, kRegBinary, {1});
    if (counter) WriteDword(platform.registry, kHkeyLocalMachine, key, std::string(name) + "Ctr", *counter);
  }

  DataSetState State(const char* name) {
    return {Stored(platform.registry, std::string(name) + "Ctr"), Stored(platform.registry, name)};
  }

  std::vector<std::string> UserNames() const {
    std::vector<std::string> names;
    for (const auto& call : engine.calls) names.push_back(call.userName);
    return names;
  }

  TestPlatform platform;
  ObservingSpeechEngine engine{platform.registry};
};

struct VariantCase {
  const char* variant;
  std::optional<std::uint32_t> navCounter;
  std::optional<std::uint32_t> dictCounter;
  DataSetState navAfter;
  DataSetState dictAfter;
  std::vector<std::string> userNames;
};

class EngineDataVariantTest : public EngineDataTest, public ::testing::WithParamInterface<VariantCase> {};

TEST_P(EngineDataVariantTest, ReleasesTheVariantsDataSets) {
  const VariantCase& c = GetParam();
  StoreDataSet("NavData", c.navCounter);
  StoreDataSet("DictData", c.dictCounter);
  Release(c.variant);
  EXPECT_EQ(State("NavData"), c.navAfter);
  EXPECT_EQ(State("DictData"), c.dictAfter);
  EXPECT_EQ(UserNames(), c.userNames);
  for (const auto& call : engine.calls) {
    EXPECT_EQ(call.window, 0u);
    EXPECT_EQ(call.instance, TestPlatform::kInstance);
    EXPECT_EQ(call.languageCode, "AB_CD");
  }
}

const DataSetState kReleased{kZeroCounter, kZeroFlag};
DataSetState Kept(std::uint32_t n) { return {Counter(n), kSetFlag}; }
const DataSetState kNoCounter{std::nullopt, kSetFlag};
using Users = std::vector<std::string>;

INSTANTIATE_TEST_SUITE_P(
    Variants, EngineDataVariantTest,
    ::testing::Values(VariantCase{"N", 1u, 1u, Kept(1), Kept(1), {}},
                      VariantCase{"C", 3u, 1u, Kept(2), Kept(1), {}},
                      VariantCase{"C", 1u, 1u, kReleased, Kept(1), {"navcd"}},
                      VariantCase{"D", 1u, 1u, Kept(1), kReleased, {"cstartcd"}},
                      VariantCase{"D", 1u, 0u, Kept(1), kReleased, {"cstartcd"}},
                      VariantCase{"X", 1u, 1u, kReleased, kReleased, {"navcd", "cstartcd"}},
                      VariantCase{"X", 2u, std::nullopt, Kept(1), kNoCounter, {}},
                      VariantCase{"X", 0xFFFFFFFFu, 2u, Kept(0xFFFFFFFFu), Kept(1), {}},
                      VariantCase{"c", 1u, 1u, kReleased, kReleased, {"navcd", "cstartcd"}},
                      VariantCase{"d", 5u, 1u, Kept(4), kReleased, {"cstartcd"}},
                      VariantCase{"n", 1u, 2u, kReleased, Kept(1), {"navcd"}},
                      VariantCase{"CD", 2u, 2u, Kept(1), Kept(1), {}}),
    [](const auto& info) { return std::string("Variant") + info.param.variant + "_" + std::to_string(info.index); });

TEST_F(EngineDataTest, EachCallComesAfterItsOwnTwoWrites) {
  StoreDataSet("NavData", 1u);
  StoreDataSet("DictData", 1u);
  Release("X");
  ASSERT_EQ(engine.seen.size(), 2u);
  EXPECT_EQ(engine.seen[0].nav, kReleased);
  EXPECT_EQ(engine.seen[0].dict, Kept(1));
  EXPECT_EQ(engine.seen[1].nav, kReleased);
  EXPECT_EQ(engine.seen[1].dict, kReleased);
}

TEST_F(EngineDataTest, UserIsRemovedEvenWhenTheKeyCannotBeWritten) {
  TW_PORTABLE_ONLY();
  StoreDataSet("NavData", 1u);
  platform.registry.Protect(kHkeyLocalMachine, kEngineLanguage);
  Release("C");
  EXPECT_EQ(State("NavData"), Kept(1));
  EXPECT_EQ(UserNames(), Users{"navcd"});
}

TEST_F(EngineDataTest, MissingEngineLanguageKeyMeansNothingToRelease) {
  StoreDataSet("NavData", 1u, Family("Engine\\Languages\\EN_US"));
  const std::string before = platform.Snapshot();
  Release("X");
  EXPECT_EQ(platform.Snapshot(), before);
  EXPECT_TRUE(engine.calls.empty());
}

struct UserNameCase {
  unsigned codePage;
  const char* language;
  const char* languageKey;
  std::vector<std::string> userNames;
};

class EngineUserNameTest : public EngineDataTest, public ::testing::WithParamInterface<UserNameCase> {};

TEST_P(EngineUserNameTest, ComesFromTheLanguageSuffixLowerCased) {
  const UserNameCase& c = GetParam();
  platform.codePage.Set(c.codePage);
  const std::string key = Family(std::string("Engine\\Languages\\") + c.languageKey);
  StoreDataSet("NavData", 1u, key);
  StoreDataSet("DictData", 0u, key);
  Release("X", c.language);
  EXPECT_EQ(UserNames(), c.userNames);
  ASSERT_FALSE(engine.calls.empty());
  EXPECT_EQ(engine.calls[0].languageCode, c.languageKey);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, EngineUserNameTest,
    ::testing::Values(UserNameCase{1252, "a", "A", {"nava", "cstarta"}},
                      UserNameCase{1252, "fr_FR", "FR_FR", {"navfr", "cstartfr"}},
                      UserNameCase{1252, "zh_\x81Q", "ZH_\x81Q", {"nav\x81q", "cstart\x81q"}},
                      // A double-byte character keeps its trail byte as it is.
                      UserNameCase{936, "zh_\x81Q", "ZH_\x81Q", {"nav\x81Q", "cstart\x81Q"}}));

}  // namespace
}  // namespace tw::test
