// Counters and key-tree deletion: every release step is made of these.
#include <gtest/gtest.h>

#include "tests/support/registry_probe.h"
#include "tests/support/test_platform.h"

namespace tw::test {
namespace {

const std::string kKey = "SOFTWARE\\Counters";

class PrimitivesTest : public ::testing::Test {
 protected:
  std::int32_t Read(const char* name = "Ctr") { return app->ReadCounter(kHkeyLocalMachine, kKey, name); }
  void Write(ValueType type, const std::vector<std::uint8_t>& data) {
    WriteValue(platform.registry, kHkeyLocalMachine, kKey, "Ctr", type, data);
  }

  TestPlatform platform;
  std::unique_ptr<UninstallApp> app = platform.MakeApp("");
};

TEST_F(PrimitivesTest, ReadCounterTakesUpToFourBytesOfAnyTypeLowByteFirst) {
  EXPECT_EQ(Read(), -1);  // no key
  Write(kRegDword, {0, 0, 0, 0});
  EXPECT_EQ(Read(), 0);
  EXPECT_EQ(Read("Other"), -1);  // no value
  Write(kRegBinary, {3});
  EXPECT_EQ(Read(), 3);
  Write(kRegSz, {'2', 0});
  EXPECT_EQ(Read(), 0x32);
  Write(kRegBinary, {});
  EXPECT_EQ(Read(), 0);
  Write(kRegDword, {0xff, 0xff, 0xff, 0xff});
  EXPECT_EQ(Read(), -1);  // indistinguishable from a missing counter
  Write(kRegDword, {0xfe, 0xff, 0xff, 0x7f});
  EXPECT_EQ(Read(), 0x7ffffffe);
  Write(kRegQword, {1, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(Read(), -1);  // larger than the 4-byte buffer
  EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
}

TEST_F(PrimitivesTest, DecrementCounterWritesOneLessAsAFourByteDword) {
  struct Case {
    std::vector<std::uint8_t> before;
    std::vector<std::uint8_t> after;
  };
  for (const Case& c : {Case{{2, 0, 0, 0}, {1, 0, 0, 0}}, Case{{1, 0, 0, 0}, {0, 0, 0, 0}},
                        Case{{0, 0, 0, 0}, {0, 0, 0, 0}}, Case{{0, 1, 0, 0}, {0xff, 0, 0, 0}},
                        Case{{5}, {4, 0, 0, 0}}, Case{{0xff, 0xff, 0xff, 0xff}, {0xfe, 0xff, 0xff, 0xff}}}) {
    Write(kRegBinary, c.before);
    app->DecrementCounter(kHkeyLocalMachine, kKey, "Ctr");
    ValueType type = kRegNone;
    RegKey key = 0;
    ASSERT_EQ(platform.registry.OpenKey(kHkeyLocalMachine, kKey.c_str(), kKeyQueryValue, &key), kErrorSuccess);
    std::uint8_t data[8];
    std::uint32_t size = sizeof data;
    ASSERT_EQ(platform.registry.QueryValue(key, "Ctr", &type, data, &size), kErrorSuccess);
    platform.registry.CloseKey(key);
    EXPECT_EQ(std::vector<std::uint8_t>(data, data + size), c.after);
    // A counter of 0 is left as it was, type and all.
    const bool leftAlone = c.before == std::vector<std::uint8_t>{0, 0, 0, 0};
    EXPECT_EQ(type, leftAlone ? kRegBinary : kRegDword);
  }
}

TEST_F(PrimitivesTest, DecrementCounterLeavesMissingAndUnwritableCountersAlone) {
  TW_PORTABLE_ONLY();
  app->DecrementCounter(kHkeyLocalMachine, kKey, "Ctr");
  EXPECT_FALSE(KeyExists(platform.registry, kHkeyLocalMachine, kKey));
  WriteDword(platform.registry, kHkeyLocalMachine, kKey, "Other", 2);
  app->DecrementCounter(kHkeyLocalMachine, kKey, "Ctr");
  EXPECT_FALSE(DwordValue(platform.registry, kHkeyLocalMachine, kKey, "Ctr").has_value());
  WriteDword(platform.registry, kHkeyLocalMachine, kKey, "Ctr", 2);
  platform.registry.Protect(kHkeyLocalMachine, kKey);
  app->DecrementCounter(kHkeyLocalMachine, kKey, "Ctr");
  EXPECT_EQ(DwordValue(platform.registry, kHkeyLocalMachine, kKey, "Ctr"), 2u);
  EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
}

class DeleteKeyTreeTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (GetParam()) {
      TW_PORTABLE_ONLY();
    }
    platform.registry.SetDeletesWholeTree(GetParam());
    platform.LoadRegText(R"(REGEDIT4
[HKEY_LOCAL_MACHINE\SOFTWARE\Tree\A\A1\A1a]
"v"="1"
[HKEY_LOCAL_MACHINE\SOFTWARE\Tree\A\A2]
[HKEY_LOCAL_MACHINE\SOFTWARE\Tree\B]
"v"=dword:00000001
[HKEY_LOCAL_MACHINE\SOFTWARE\TreeSibling\Keep]
"v"="1"
)");
  }

  TestPlatform platform;
  std::unique_ptr<UninstallApp> app = platform.MakeApp("");
};

TEST_P(DeleteKeyTreeTest, RemovesEveryLevelAndNothingBeside) {
  app->DeleteKeyTree(kHkeyLocalMachine, "SOFTWARE\\Tree");
  EXPECT_FALSE(KeyExists(platform.registry, kHkeyLocalMachine, "SOFTWARE\\Tree"));
  EXPECT_TRUE(KeyExists(platform.registry, kHkeyLocalMachine, "SOFTWARE\\TreeSibling\\Keep"));
  EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
}

TEST_P(DeleteKeyTreeTest, MissingKeyChangesNothing) {
  const std::string before = platform.Snapshot();
  app->DeleteKeyTree(kHkeyLocalMachine, "SOFTWARE\\NoSuchTree");
  app->DeleteKeyTree(kHkeyLocalMachine, "SOFTWARE\\Tree\\A\\NoSuchChild");
  EXPECT_EQ(platform.Snapshot(), before);
}

TEST_P(DeleteKeyTreeTest, AnUndeletableKeyKeepsItsAncestorsAndGoesOnWithItsSiblings) {
  TW_PORTABLE_ONLY();
  platform.registry.Protect(kHkeyLocalMachine, "SOFTWARE\\Tree\\A\\A1\\A1a");
  app->DeleteKeyTree(kHkeyLocalMachine, "SOFTWARE\\Tree");
  EXPECT_TRUE(KeyExists(platform.registry, kHkeyLocalMachine, "SOFTWARE\\Tree\\A\\A1\\A1a"));
  EXPECT_FALSE(KeyExists(platform.registry, kHkeyLocalMachine, "SOFTWARE\\Tree\\A\\A2"));
  EXPECT_FALSE(KeyExists(platform.registry, kHkeyLocalMachine, "SOFTWARE\\Tree\\B"));
  EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
}

// Subkeys are opened by name below their parent's handle: no path is
// composed, so none can be cut short, however deep the tree.
TEST_P(DeleteKeyTreeTest, ASubkeyWhosePathWouldNotFitAPathBufferIsDeletedToo) {
  const std::string longName(240, 'x');
  WriteDword(platform.registry, kHkeyLocalMachine, "SOFTWARE\\Tree\\B\\" + longName, "v", 1);
  app->DeleteKeyTree(kHkeyLocalMachine, "SOFTWARE\\Tree");
  EXPECT_FALSE(KeyExists(platform.registry, kHkeyLocalMachine, "SOFTWARE\\Tree"));
  EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(KeyDeletion, DeleteKeyTreeTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "WholeTreeDeletion" : "LeafOnlyDeletion"; });

}  // namespace
}  // namespace tw::test
