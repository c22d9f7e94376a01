// The advapi32 behaviour the uninstaller's registry code relies on.
#include <gmock/gmock.h>

#include <algorithm>

#include "tests/contract/contract_test.h"

namespace tw::contract {
namespace {

constexpr std::uint8_t kUntouched = 0xCC;

class RegistryContract : public ContractTest {};

// ---- RegQueryValueExA buffer sizes ------------------------------------------

struct QueryCase {
  const char* label;
  ValueType type;
  std::string stored;        // the bytes handed to RegSetValueExA
  std::uint32_t capacity;    // bytes offered to RegQueryValueExA
  Status status;
  std::uint32_t sizeOut;
  std::string read;          // the bytes expected at the start of the buffer
};

void PrintTo(const QueryCase& c, std::ostream* out) { *out << c.label; }

class QuerySizes : public RegistryContract, public ::testing::WithParamInterface<QueryCase> {};

TEST_P(QuerySizes, FollowTheBufferRules) {
  const QueryCase& c = GetParam();
  Set(scratch, "v", c.type, BytesOf(c.stored));
  Bytes buffer(c.capacity + 4, kUntouched);
  std::uint32_t size = c.capacity;
  ValueType type = kRegNone;
  EXPECT_EQ(registry.QueryValue(scratch, "v", &type, buffer.data(), &size), c.status);
  EXPECT_EQ(size, c.sizeOut);
  EXPECT_EQ(type, c.type);
  EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(c.read.size())), c.read);
  // Past what the call may write, nothing changes.
  const std::size_t end = std::max<std::size_t>(c.read.size(), c.capacity);
  EXPECT_TRUE(std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(end), buffer.end(),
                          [](std::uint8_t b) { return b == kUntouched; }));
}

const std::string kZ{'\0'};
const std::string kCC{static_cast<char>(kUntouched)};

INSTANTIATE_TEST_SUITE_P(
    Cases, QuerySizes,
    ::testing::Values(
        QueryCase{"text_exact_fit", kRegSz, "abc" + kZ, 4, kErrorSuccess, 4, "abc" + kZ},
        QueryCase{"text_roomy", kRegSz, "abc" + kZ, 10, kErrorSuccess, 4, "abc" + kZ + kCC},
        QueryCase{"text_one_short", kRegSz, "abc" + kZ, 3, kErrorMoreData, 4, ""},
        QueryCase{"text_zero_capacity", kRegSz, "abc" + kZ, 0, kErrorMoreData, 4, kCC},
        // Stored without its terminator: the size says so, and a buffer with
        // room gets one added after the data.
        QueryCase{"unterminated_roomy", kRegSz, "abc", 10, kErrorSuccess, 3, "abc" + kZ + kCC},
        QueryCase{"unterminated_exact_fit", kRegSz, "abc", 3, kErrorSuccess, 3, "abc" + kCC},
        QueryCase{"unterminated_expand", kRegExpandSz, "%a%", 10, kErrorSuccess, 3, "%a%" + kZ},
        QueryCase{"binary_roomy", kRegBinary, "abc", 10, kErrorSuccess, 3, "abc" + kCC},
        QueryCase{"dword_exact_fit", kRegDword, std::string("\x01\x02\x03\x04", 4), 4, kErrorSuccess, 4,
                  std::string("\x01\x02\x03\x04", 4)},
        QueryCase{"dword_one_short", kRegDword, std::string("\x01\x02\x03\x04", 4), 3, kErrorMoreData, 4, ""},
        QueryCase{"qword_into_dword_buffer", kRegQword, std::string(8, '\x01'), 4, kErrorMoreData, 8, ""}),
    [](const ::testing::TestParamInfo<QueryCase>& info) { return std::string(info.param.label); });

TEST_F(RegistryContract, NullDataAsksForTheSizeOnly) {
  Set(scratch, "text", kRegSz, BytesOf("abcd" + kZ));
  Set(scratch, "bare", kRegSz, BytesOf("abcd"));
  std::uint32_t size = 1;  // the capacity is not looked at
  ValueType type = kRegNone;
  EXPECT_EQ(registry.QueryValue(scratch, "text", &type, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(type, kRegSz);
  size = 0;
  EXPECT_EQ(registry.QueryValue(scratch, "bare", nullptr, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(registry.QueryValue(scratch, "text", nullptr, nullptr, nullptr), kErrorSuccess);
}

TEST_F(RegistryContract, TextWriteTakesTheTerminatorAfterTheCountedBytes) {
  const std::uint8_t terminated[] = {'a', 'b', 'c', 0};
  ASSERT_EQ(registry.SetValue(scratch, "text", kRegSz, terminated, 3), kErrorSuccess);
  ASSERT_EQ(registry.SetValue(scratch, "binary", kRegBinary, terminated, 3), kErrorSuccess);
  std::uint32_t size = 0;
  EXPECT_EQ(registry.QueryValue(scratch, "text", nullptr, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(registry.QueryValue(scratch, "binary", nullptr, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(size, 3u);
}

TEST_F(RegistryContract, MissingValueIsFileNotFound) {
  std::uint32_t size = 4;
  std::uint8_t data[4];
  EXPECT_EQ(registry.QueryValue(scratch, "absent", nullptr, data, &size), kErrorFileNotFound);
  EXPECT_EQ(registry.QueryValue(scratch, "absent", nullptr, nullptr, &size), kErrorFileNotFound);
  EXPECT_EQ(registry.DeleteValue(scratch, "absent"), kErrorFileNotFound);
}

// ---- RegEnumValueA and RegEnumKeyExA buffer sizes --------------------------

TEST_F(RegistryContract, EnumValueNameCapacityCountsTheTerminator) {
  Set(scratch, "name5", kRegDword, Bytes(4, 0));
  char name[16];
  std::uint32_t chars = 6;  // "name5" and its terminator
  ASSERT_EQ(registry.EnumValue(scratch, 0, name, &chars, nullptr, nullptr, nullptr), kErrorSuccess);
  EXPECT_EQ(chars, 5u);
  EXPECT_STREQ(name, "name5");
  chars = 5;
  EXPECT_EQ(registry.EnumValue(scratch, 0, name, &chars, nullptr, nullptr, nullptr), kErrorMoreData);
  // The next index is still there to be read.
  chars = sizeof name;
  EXPECT_EQ(registry.EnumValue(scratch, 1, name, &chars, nullptr, nullptr, nullptr), kErrorNoMoreItems);
}

TEST_F(RegistryContract, EnumValueDataFollowsTheQueryRules) {
  Set(scratch, "t", kRegSz, BytesOf("abcd" + kZ));
  Set(scratch, "u", kRegSz, BytesOf("xy"));
  char name[16];
  Bytes data(16, kUntouched);
  ValueType type = kRegNone;

  std::uint32_t chars = sizeof name;
  std::uint32_t size = 5;
  ASSERT_EQ(registry.EnumValue(scratch, 0, name, &chars, &type, data.data(), &size), kErrorSuccess);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(type, kRegSz);
  EXPECT_STREQ(reinterpret_cast<const char*>(data.data()), "abcd");

  chars = sizeof name;
  size = 4;
  EXPECT_EQ(registry.EnumValue(scratch, 0, name, &chars, nullptr, data.data(), &size), kErrorMoreData);
  EXPECT_EQ(size, 5u);

  chars = sizeof name;
  size = 0;
  EXPECT_EQ(registry.EnumValue(scratch, 0, name, &chars, nullptr, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(size, 5u);

  std::fill(data.begin(), data.end(), kUntouched);
  chars = sizeof name;
  size = 8;
  ASSERT_EQ(registry.EnumValue(scratch, 1, name, &chars, nullptr, data.data(), &size), kErrorSuccess);
  EXPECT_EQ(size, 2u);
  EXPECT_EQ(std::string(data.begin(), data.begin() + 4), "xy" + kZ + kCC);
}

TEST_F(RegistryContract, EnumKeyNameCapacityCountsTheTerminator) {
  Create("child");
  char name[16];
  std::uint32_t chars = 6;
  ASSERT_EQ(registry.EnumKey(scratch, 0, name, &chars), kErrorSuccess);
  EXPECT_EQ(chars, 5u);
  EXPECT_STREQ(name, "child");
  chars = 5;
  EXPECT_EQ(registry.EnumKey(scratch, 0, name, &chars), kErrorMoreData);
  chars = sizeof name;
  EXPECT_EQ(registry.EnumKey(scratch, 1, name, &chars), kErrorNoMoreItems);
  EXPECT_EQ(registry.EnumKey(scratch, 7, name, &chars), kErrorNoMoreItems);
}

// ---- Enumeration order ------------------------------------------------------

// Windows sorts by the upper-cased name, so '_' comes after the letters;
// Wine sorts by the lower-cased name, so '_' comes before them. Either way the
// order folds case and puts every name once.
const std::vector<std::string> kUpperCasedOrder{"9nine", "Alpha",  "Alpha1", "alphaB", "alpha_2",
                                                "beta",  "zA",     "Zed",    "z_",     "_lead"};
const std::vector<std::string> kLowerCasedOrder{"9nine", "_lead", "Alpha", "Alpha1", "alpha_2",
                                                "alphaB", "beta",  "z_",    "zA",     "Zed"};

TEST_F(RegistryContract, SubkeysComeInCaseFoldedNameOrder) {
  for (const char* name : {"beta", "Alpha", "alpha_2", "alphaB", "Alpha1", "_lead", "Zed", "z_", "zA", "9nine"}) {
    Create(name);
  }
  EXPECT_THAT(SubkeyNames(scratch), ::testing::AnyOf(kUpperCasedOrder, kLowerCasedOrder));
}

TEST_F(RegistryContract, ValuesComeInCreationOrderOrInCaseFoldedNameOrder) {
  // Windows keeps the creation order, and a replaced value keeps its place;
  // Wine sorts the values like the subkeys.
  for (const char* name : {"b", "C", "a", "_u", "B2"}) Set(scratch, name, kRegDword, Bytes(4, 1));
  Set(scratch, "A", kRegSz, BytesOf("new"));  // replaces "a"
  EXPECT_EQ(registry.DeleteValue(scratch, "C"), kErrorSuccess);
  EXPECT_THAT(ValueNames(scratch), ::testing::AnyOf(std::vector<std::string>{"b", "a", "_u", "B2"},
                                                    std::vector<std::string>{"_u", "a", "b", "B2"},
                                                    std::vector<std::string>{"a", "b", "B2", "_u"}));
}

// ---- Deleting keys ----------------------------------------------------------

TEST_F(RegistryContract, KeyWithSubkeysIsNotDeleted) {
  Create("parent\\child");
  const RegKey parent = Open("parent", kKeyAllAccess);
  EXPECT_EQ(registry.DeleteKey(scratch, "parent"), kErrorAccessDenied);
  EXPECT_EQ(registry.DeleteKey(parent, ""), kErrorAccessDenied);
  EXPECT_EQ(TryOpen("parent\\child", kKeyRead), kErrorSuccess);
  EXPECT_EQ(registry.DeleteKey(scratch, "parent\\child"), kErrorSuccess);
  EXPECT_EQ(registry.DeleteKey(parent, ""), kErrorSuccess);
  EXPECT_EQ(TryOpen("parent", kKeyRead), kErrorFileNotFound);
}

TEST_F(RegistryContract, DeletingTheHandlesOwnKeyNeedsNoAccessOnTheHandle) {
  // RegDeleteKeyA opens the key anew for deletion; the handle's access does
  // not limit it.
  Create("k");
  const RegKey query = Open("k", kKeyQueryValue);
  EXPECT_EQ(registry.DeleteKey(query, ""), kErrorSuccess);
  EXPECT_EQ(TryOpen("k", kKeyRead), kErrorFileNotFound);
}

TEST_F(RegistryContract, DeletingASubkeyByNameNeedsNoAccessOnTheParent) {
  Create("parent\\child");
  const RegKey parent = Open("parent", kKeyQueryValue);
  EXPECT_EQ(registry.DeleteKey(parent, "child"), kErrorSuccess);
  EXPECT_EQ(registry.DeleteKey(parent, "child"), kErrorFileNotFound);
}

TEST_F(RegistryContract, QueryOnlyHandleCannotWriteDeleteValuesOrListSubkeys) {
  Set(Create("k"), "v", kRegDword, Bytes(4, 1));
  const RegKey query = Open("k", kKeyQueryValue);
  const std::uint8_t one[4] = {1, 0, 0, 0};
  EXPECT_EQ(registry.SetValue(query, "v", kRegDword, one, 4), kErrorAccessDenied);
  EXPECT_EQ(registry.SetValue(query, "w", kRegDword, one, 4), kErrorAccessDenied);
  EXPECT_EQ(registry.DeleteValue(query, "v"), kErrorAccessDenied);
  EXPECT_EQ(EnumKeyAt(query, 0), kErrorAccessDenied);
  EXPECT_EQ(EnumValueAt(query, 0), kErrorSuccess);

  const RegKey setOnly = Open("k", kKeySetValue);
  std::uint32_t size = 4;
  std::uint8_t data[4];
  EXPECT_EQ(registry.QueryValue(setOnly, "v", nullptr, data, &size), kErrorAccessDenied);
  EXPECT_EQ(registry.DeleteValue(setOnly, "v"), kErrorSuccess);
}

// ---- Names ------------------------------------------------------------------

TEST_F(RegistryContract, NamesMatchWithoutRegardToCaseAndKeepTheirStoredCase) {
  const RegKey mixed = Create("MiXed");
  Create("MIXED");  // the same key
  EXPECT_EQ(TryOpen("mixed", kKeyRead), kErrorSuccess);
  EXPECT_EQ(SubkeyNames(scratch), std::vector<std::string>{"MiXed"});

  Set(mixed, "Value", kRegSz, BytesOf("one" + kZ));
  Set(mixed, "VALUE", kRegSz, BytesOf("two" + kZ));
  EXPECT_EQ(ValueNames(mixed), std::vector<std::string>{"Value"});
  char data[8];
  std::uint32_t size = sizeof data;
  ASSERT_EQ(registry.QueryValue(mixed, "vALUE", nullptr, reinterpret_cast<std::uint8_t*>(data), &size),
            kErrorSuccess);
  EXPECT_STREQ(data, "two");
  EXPECT_EQ(registry.DeleteValue(mixed, "value"), kErrorSuccess);
  EXPECT_TRUE(ValueNames(mixed).empty());
  EXPECT_EQ(registry.DeleteKey(scratch, "MIXED"), kErrorSuccess);
  // Beyond A-Z too, where the code page holds both cases.
  if (world->ActiveCodePage().ToUtf8("\xC9\xE9") == "\xC3\x89\xC3\xA9") {
    Create("\xC9t\xE9");
    EXPECT_EQ(TryOpen("\xE9T\xC9", kKeyRead), kErrorSuccess);
    EXPECT_EQ(SubkeyNames(scratch), std::vector<std::string>{"\xC9t\xE9"});
  }
}

// ---- A key deleted while another handle names it ---------------------------

TEST_F(RegistryContract, HandleToADeletedKeyReportsKeyDeleted) {
  Set(Create("k"), "v", kRegDword, Bytes(4, 1));
  const RegKey stale = Open("k", kKeyAllAccess);
  EXPECT_EQ(registry.DeleteKey(Open("k", kKeyAllAccess), ""), kErrorSuccess);

  std::uint8_t data[4];
  std::uint32_t size = sizeof data;
  EXPECT_EQ(registry.QueryValue(stale, "v", nullptr, data, &size), kErrorKeyDeleted);
  EXPECT_EQ(registry.SetValue(stale, "v", kRegDword, data, 4), kErrorKeyDeleted);
  EXPECT_EQ(registry.DeleteValue(stale, "v"), kErrorKeyDeleted);
  EXPECT_EQ(EnumKeyAt(stale, 0), kErrorKeyDeleted);
  EXPECT_EQ(EnumValueAt(stale, 0), kErrorKeyDeleted);
  RegKey child = 0;
  EXPECT_EQ(registry.OpenKey(stale, "", kKeyRead, &child), kErrorKeyDeleted);
  EXPECT_EQ(registry.DeleteKey(stale, ""), kErrorKeyDeleted);

  // A new key of the same name is another key.
  Create("k");
  size = sizeof data;
  EXPECT_EQ(registry.QueryValue(stale, "v", nullptr, data, &size), kErrorKeyDeleted);
}

// ---- Subkey paths -----------------------------------------------------------

struct PathCase {
  const char* label;
  const char* path;
  Status open;    // RegOpenKeyExA of the path when "a\b" exists
  Status create;  // RegCreateKeyExA of the path
};

void PrintTo(const PathCase& c, std::ostream* out) { *out << c.label; }

class SubkeyPaths : public RegistryContract, public ::testing::WithParamInterface<PathCase> {};

TEST_P(SubkeyPaths, OpenAndCreate) {
  Create("a\\b");
  EXPECT_EQ(TryOpen(GetParam().path, kKeyRead), GetParam().open);
  RegKey key = 0;
  const Status created = registry.CreateKey(scratch, GetParam().path, &key);
  EXPECT_EQ(created, GetParam().create);
  if (created == kErrorSuccess) registry.CloseKey(key);
  // Nothing but the one key was made on the way.
  EXPECT_EQ(SubkeyNames(scratch), std::vector<std::string>{"a"});
  EXPECT_EQ(SubkeyNames(Open("a", kKeyRead)), std::vector<std::string>{"b"});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SubkeyPaths,
    ::testing::Values(PathCase{"plain", "a\\b", kErrorSuccess, kErrorSuccess},
                      PathCase{"trailing_backslash", "a\\b\\", kErrorSuccess, kErrorSuccess},
                      PathCase{"two_trailing_backslashes", "a\\b\\\\", kErrorSuccess, kErrorSuccess},
                      PathCase{"leading_backslash", "\\a\\b", kErrorBadPathname, kErrorBadPathname},
                      PathCase{"double_backslash", "a\\\\b", kErrorSuccess, kErrorSuccess},
                      PathCase{"empty", "", kErrorSuccess, kErrorSuccess}),
    [](const ::testing::TestParamInfo<PathCase>& info) { return std::string(info.param.label); });

// ---- Registry links and names holding a NUL ---------------------------------

TEST_F(RegistryContract, LinkIsFollowedUnlessOpenedItselfAndIsDeletedItself) {
  Set(Create("target\\sub"), "v", kRegDword, Bytes(4, 1));
  ASSERT_EQ(world->CreateLink(scratch, "link", kHkeyCurrentUser, KeyPath("target")), kErrorSuccess);
  ASSERT_EQ(world->CreateLink(scratch, "other", kHkeyCurrentUser, KeyPath("target")), kErrorSuccess);
  ASSERT_EQ(world->CreateLink(scratch, "dangling", kHkeyCurrentUser, KeyPath("missing")), kErrorSuccess);
  EXPECT_EQ(SubkeyNames(scratch), (std::vector<std::string>{"dangling", "link", "other", "target"}));

  EXPECT_EQ(SubkeyNames(Open("link", kKeyRead)), std::vector<std::string>{"sub"});
  // Asked for itself, the link holds its target's path and nothing else;
  // a link on the way is followed all the same.
  const RegKey itself = Open("link", kKeyRead | kKeyOpenLink);
  EXPECT_TRUE(SubkeyNames(itself).empty());
  ValueType type = kRegNone;
  std::uint32_t size = 0;
  EXPECT_EQ(registry.QueryValue(itself, "SymbolicLinkValue", &type, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(type, kRegLink);
  EXPECT_EQ(ValueNames(Open("link\\sub", kKeyRead | kKeyOpenLink)), std::vector<std::string>{"v"});
  EXPECT_EQ(TryOpen("dangling", kKeyRead), kErrorFileNotFound);
  EXPECT_EQ(TryOpen("dangling", kKeyRead | kKeyOpenLink), kErrorSuccess);

  // Deleting by name or through a handle to the link removes the link only.
  EXPECT_EQ(registry.DeleteKey(scratch, "link"), kErrorSuccess);
  EXPECT_EQ(registry.DeleteKey(Open("other", kKeyAllAccess | kKeyOpenLink), ""), kErrorSuccess);
  EXPECT_EQ(registry.DeleteKey(scratch, "dangling"), kErrorSuccess);
  EXPECT_EQ(SubkeyNames(scratch), std::vector<std::string>{"target"});
  EXPECT_EQ(ValueNames(Open("target\\sub", kKeyRead)), std::vector<std::string>{"v"});
}

TEST_F(RegistryContract, NamesHoldingANulAreListedWholeAndReachNoKeyCutShort) {
  const std::string keyName("a\0b", 3);
  const std::string valueName("v\0w", 3);
  const std::string nulOnly(1, '\0');
  ASSERT_EQ(world->CreateKeyNamed(scratch, keyName), kErrorSuccess);
  ASSERT_EQ(world->SetValueNamed(scratch, valueName, kRegDword, Bytes(4, 1)), kErrorSuccess);
  const RegKey parent = Create("p");
  ASSERT_EQ(world->CreateKeyNamed(parent, nulOnly), kErrorSuccess);

  EXPECT_EQ(SubkeyNames(scratch), (std::vector<std::string>{keyName, "p"}));
  EXPECT_EQ(ValueNames(scratch), std::vector<std::string>{valueName});
  EXPECT_EQ(SubkeyNames(parent), std::vector<std::string>{nulOnly});
  EXPECT_EQ(TryOpen("a", kKeyRead), kErrorFileNotFound);
  EXPECT_EQ(registry.DeleteKey(scratch, "a"), kErrorFileNotFound);
  EXPECT_EQ(registry.DeleteValue(scratch, "v"), kErrorFileNotFound);
  // The name cut at its NUL is the parent itself, which keeps its subkey.
  EXPECT_EQ(registry.DeleteKey(parent, ""), kErrorAccessDenied);

  EXPECT_EQ(world->DeleteKeyNamed(parent, nulOnly), kErrorSuccess);
  EXPECT_EQ(world->DeleteKeyNamed(scratch, keyName), kErrorSuccess);
  EXPECT_EQ(SubkeyNames(scratch), std::vector<std::string>{"p"});
}

// A profile's hive file as every-user runs load it: below HKEY_USERS under a
// name of the run's own, its keys and values there, gone after the unload;
// a missing file and an unload of a key never loaded fail. Windows also
// refuses a file already loaded (ERROR_SHARING_VIOLATION: its user is logged
// on) and an unload while a key of the hive is open, as the portable registry
// does (the every-user tests rely on the first); Wine, which reads its own
// text files, does neither. The run closes every key before it unloads.
TEST_F(RegistryContract, AHiveFileLoadsBelowHkeyUsersAndUnloadsAgain) {
  const std::string file = FilePath("hive.dat");
  std::string whyNot;
  if (!world->MakeHiveFile(file, &whyNot)) GTEST_SKIP() << whyNot;
  const std::string name = ScratchName("twcontract-hive-");
  ASSERT_EQ(registry.LoadHive(name.c_str(), file.c_str()), kErrorSuccess);
  RegKey sub = 0;
  ASSERT_EQ(registry.OpenKey(kHkeyUsers, (name + "\\Sub").c_str(), kKeyRead, &sub), kErrorSuccess);
  EXPECT_EQ(registry.CloseKey(sub), kErrorSuccess);
  RegKey hive = 0;
  ASSERT_EQ(registry.OpenKey(kHkeyUsers, name.c_str(), kKeyRead, &hive), kErrorSuccess);
  char kept[8] = {};
  std::uint32_t size = sizeof kept;
  EXPECT_EQ(registry.QueryValue(hive, "kept", nullptr, reinterpret_cast<std::uint8_t*>(kept), &size), kErrorSuccess);
  EXPECT_STREQ(kept, "1");
  EXPECT_EQ(registry.CloseKey(hive), kErrorSuccess);

  EXPECT_EQ(registry.UnloadHive(name.c_str()), kErrorSuccess);
  EXPECT_EQ(registry.OpenKey(kHkeyUsers, name.c_str(), kKeyRead, &hive), kErrorFileNotFound);
  EXPECT_NE(registry.UnloadHive(name.c_str()), kErrorSuccess);
  EXPECT_NE(registry.LoadHive(name.c_str(), FilePath("missing.dat").c_str()), kErrorSuccess);
  // Unloaded, the file is free again.
  ASSERT_EQ(registry.LoadHive(name.c_str(), file.c_str()), kErrorSuccess);
  EXPECT_EQ(registry.UnloadHive(name.c_str()), kErrorSuccess);
}

}  // namespace
}  // namespace tw::contract
