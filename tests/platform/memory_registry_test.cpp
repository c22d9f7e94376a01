// The in-memory registry's Windows behaviours that the portable-only switches
// control, and the handle bookkeeping. The behaviours it shares with the real
// registry are checked against both in the contract suite; the copy of the
// machine's keys that a preview works on is one of these registries.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/overlay/overlay_registry.h"
#include "platform/memory/memory_registry.h"
#include "tests/support/portable/portable_registry.h"
#include "tests/support/portable/settable_code_page.h"
#include "tests/support/registry_probe.h"

namespace tw::test {
namespace {

class MemoryRegistryTest : public ::testing::Test {
 protected:
  RegKey Open(const std::string& path, AccessMask access) {
    RegKey key = 0;
    EXPECT_EQ(registry.OpenKey(kHkeyLocalMachine, path.c_str(), access, &key), kErrorSuccess) << path;
    return key;
  }

  std::vector<std::string> SubkeysOf(const std::string& path) {
    RegKey key = Open(path, kKeyRead);
    std::vector<std::string> names;
    char name[256];
    for (std::uint32_t index = 0;; ++index) {
      std::uint32_t size = sizeof name;
      if (registry.EnumKey(key, index, name, &size) != kErrorSuccess) break;
      names.emplace_back(name, size);
    }
    registry.CloseKey(key);
    return names;
  }

  PortableRegistry registry;
};

TEST_F(MemoryRegistryTest, NamesMatchWithoutCaseAndKeepTheirStoredCase) {
  WriteDword(registry, kHkeyLocalMachine, "Soft\\MixedCase", "UsageCtr", 7);
  EXPECT_EQ(DwordValue(registry, kHkeyLocalMachine, "SOFT\\mixedcase", "usagectr"), 7u);
  WriteDword(registry, kHkeyLocalMachine, "soft\\MIXEDCASE", "USAGECTR", 8);
  EXPECT_EQ(SubkeysOf("Soft"), std::vector<std::string>{"MixedCase"});
  RegKey key = Open("Soft\\MixedCase", kKeyQueryValue);
  char name[32];
  std::uint32_t size = sizeof name;
  ASSERT_EQ(registry.EnumValue(key, 0, name, &size, nullptr, nullptr, nullptr), kErrorSuccess);
  EXPECT_EQ(std::string(name, size), "UsageCtr");
  registry.CloseKey(key);
  EXPECT_EQ(DwordValue(registry, kHkeyLocalMachine, "Soft\\MixedCase", "UsageCtr"), 8u);
}

TEST_F(MemoryRegistryTest, SubkeysComeInUpperCasedNameOrderWhateverTheCreationOrder) {
  for (const char* name : {"zeta", "ENU", "EN_US", "alpha", "Beta", "10", "9"}) {
    WriteDword(registry, kHkeyLocalMachine, std::string("Order\\") + name, "x", 1);
  }
  // '_' sorts after the letters once names are upper-cased, as on Windows.
  EXPECT_EQ(SubkeysOf("Order"), (std::vector<std::string>{"10", "9", "alpha", "Beta", "ENU", "EN_US", "zeta"}));
}

TEST_F(MemoryRegistryTest, ValuesComeInCreationOrderAndAReplacedValueKeepsItsPlace) {
  for (const char* name : {"c", "a", "b"}) WriteDword(registry, kHkeyLocalMachine, "Values", name, 1);
  WriteDword(registry, kHkeyLocalMachine, "Values", "A", 2);
  RegKey key = Open("Values", kKeyAllAccess);
  ASSERT_EQ(registry.DeleteValue(key, "c"), kErrorSuccess);
  std::vector<std::string> names;
  char name[8];
  for (std::uint32_t index = 0;; ++index) {
    std::uint32_t size = sizeof name;
    const Status status = registry.EnumValue(key, index, name, &size, nullptr, nullptr, nullptr);
    if (status == kErrorNoMoreItems) break;
    ASSERT_EQ(status, kErrorSuccess);
    names.emplace_back(name, size);
  }
  registry.CloseKey(key);
  EXPECT_EQ(names, (std::vector<std::string>{"a", "b"}));
}

TEST_F(MemoryRegistryTest, KeyWithSubkeysIsDeletedOnlyInWholeTreeMode) {
  WriteDword(registry, kHkeyLocalMachine, "Tree\\Child\\Grandchild", "x", 1);
  RegKey key = Open("Tree", kKeyAllAccess);
  EXPECT_EQ(registry.DeleteKey(key, ""), kErrorAccessDenied);
  EXPECT_TRUE(KeyExists(registry, kHkeyLocalMachine, "Tree\\Child\\Grandchild"));
  registry.SetDeletesWholeTree(true);
  EXPECT_EQ(registry.DeleteKey(key, ""), kErrorSuccess);
  EXPECT_FALSE(KeyExists(registry, kHkeyLocalMachine, "Tree"));
  // The handle outlives its key, as on Windows, and says so.
  std::uint32_t size = 4;
  std::uint8_t data[4];
  EXPECT_EQ(registry.QueryValue(key, "x", nullptr, data, &size), kErrorKeyDeleted);
  EXPECT_EQ(registry.CloseKey(key), kErrorSuccess);
}

TEST_F(MemoryRegistryTest, QueryOnlyHandlesRefuseWrites) {
  WriteDword(registry, kHkeyLocalMachine, "ReadOnly", "x", 1);
  RegKey key = Open("ReadOnly", kKeyQueryValue);
  const std::uint8_t one = 1;
  EXPECT_EQ(registry.SetValue(key, "x", kRegBinary, &one, 1), kErrorAccessDenied);
  EXPECT_EQ(registry.DeleteValue(key, "x"), kErrorAccessDenied);
  registry.CloseKey(key);
  EXPECT_EQ(DwordValue(registry, kHkeyLocalMachine, "ReadOnly", "x"), 1u);
}

TEST_F(MemoryRegistryTest, ProtectedKeysCanBeReadButNotOpenedForWritingNorDeleted) {
  WriteDword(registry, kHkeyLocalMachine, "Guarded\\Inner", "x", 1);
  registry.Protect(kHkeyLocalMachine, "Guarded\\Inner");
  RegKey key = 0;
  EXPECT_EQ(registry.OpenKey(kHkeyLocalMachine, "Guarded\\Inner", kKeyAllAccess, &key), kErrorAccessDenied);
  EXPECT_EQ(registry.OpenKey(kHkeyLocalMachine, "Guarded\\Inner", kKeySetValue, &key), kErrorAccessDenied);
  EXPECT_EQ(DwordValue(registry, kHkeyLocalMachine, "Guarded\\Inner", "x"), 1u);
  key = Open("Guarded\\Inner", kKeyQueryValue);
  EXPECT_EQ(registry.DeleteKey(key, ""), kErrorAccessDenied);
  registry.CloseKey(key);
  registry.SetDeletesWholeTree(true);
  key = Open("Guarded", kKeyAllAccess);
  EXPECT_EQ(registry.DeleteKey(key, ""), kErrorAccessDenied);  // a whole tree goes only if all of it may go
  registry.CloseKey(key);
  EXPECT_TRUE(KeyExists(registry, kHkeyLocalMachine, "Guarded\\Inner"));
}

TEST_F(MemoryRegistryTest, RootsCannotBeDeletedAndHandlesAreCounted) {
  EXPECT_EQ(registry.DeleteKey(kHkeyLocalMachine, ""), kErrorAccessDenied);
  WriteDword(registry, kHkeyLocalMachine, "Counted", "x", 1);
  RegKey first = Open("Counted", kKeyRead);
  RegKey second = Open("Counted", kKeyRead);
  EXPECT_NE(first, second);
  EXPECT_EQ(registry.OpenHandleCount(), 2u);
  EXPECT_EQ(registry.CloseKey(first), kErrorSuccess);
  EXPECT_EQ(registry.CloseKey(first), kErrorInvalidHandle);
  EXPECT_EQ(registry.CloseKey(second), kErrorSuccess);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
  std::uint32_t size = 8;
  char name[8];
  EXPECT_EQ(registry.EnumKey(first, 0, name, &size), kErrorInvalidHandle);
}

TEST_F(MemoryRegistryTest, EveryIndexOfAWideKeyIsEnumeratedExactlyOnce) {
  RegKey key = 0;
  ASSERT_EQ(registry.CreateKey(kHkeyLocalMachine, "Wide", &key), kErrorSuccess);
  for (int i = 0; i < 20000; ++i) {
    RegKey child = 0;
    ASSERT_EQ(registry.CreateKey(key, ("k" + std::to_string(i)).c_str(), &child), kErrorSuccess);
    registry.CloseKey(child);
  }
  char name[32];
  std::uint32_t count = 0;
  for (;; ++count) {
    std::uint32_t size = sizeof name;
    if (registry.EnumKey(key, count, name, &size) != kErrorSuccess) break;
  }
  registry.CloseKey(key);
  EXPECT_EQ(count, 20000u);
}


// A preview's copy of the machine's keys: links stay links with the machine's
// own value, and one whose target lies outside both roots leads nowhere.
TEST_F(MemoryRegistryTest, OverlayCopiesLinksAsTheMachineHoldsThem) {
  WriteText(registry, kHkeyLocalMachine, "Fam\\Keep", "v", "kept");
  RegKey fam = Open("Fam", kKeyAllAccess);
  ASSERT_EQ(registry.CreateLink(fam, "ToKeep", kHkeyLocalMachine, "Fam\\Keep"), kErrorSuccess);
  ASSERT_EQ(registry.CreateLink(fam, "Nowhere", kHkeyLocalMachine, "Fam\\Keep"), kErrorSuccess);
  registry.CloseKey(fam);
  std::vector<std::uint8_t> elsewhere;
  for (char c : std::string("\\REGISTRY\\A\\{1}\\Hive")) elsewhere.insert(elsewhere.end(), {std::uint8_t(c), 0});
  RegKey nowhere = Open("Fam\\Nowhere", kKeySetValue | kKeyOpenLink);
  ASSERT_EQ(registry.SetValueNamed(nowhere, "SymbolicLinkValue", kRegLink, elsewhere), kErrorSuccess);
  registry.CloseKey(nowhere);

  const SettableCodePage western;
  OverlayRegistry overlay(registry, western, {{kHkeyLocalMachine, "Fam"}});
  EXPECT_EQ(TextValue(overlay, kHkeyLocalMachine, "Fam\\ToKeep", "v"), "kept");
  RegKey key = 0;
  EXPECT_EQ(overlay.OpenKey(kHkeyLocalMachine, "Fam\\Nowhere", kKeyRead, &key), kErrorFileNotFound);
  const auto linkValue = [&key](Registry& from, const char* link) {
    std::vector<std::uint8_t> data(256);
    std::uint32_t size = static_cast<std::uint32_t>(data.size());
    ValueType type = kRegNone;
    EXPECT_EQ(from.OpenKey(kHkeyLocalMachine, link, kKeyQueryValue | kKeyOpenLink, &key), kErrorSuccess) << link;
    EXPECT_EQ(from.QueryValue(key, "SymbolicLinkValue", &type, data.data(), &size), kErrorSuccess) << link;
    from.CloseKey(key);
    data.resize(size);
    return data;
  };
  EXPECT_EQ(linkValue(overlay, "Fam\\ToKeep"), linkValue(registry, "Fam\\ToKeep"));
  EXPECT_EQ(linkValue(overlay, "Fam\\Nowhere"), elsewhere);
}

// The overlay reads a key when a call first reaches it, by any path, link
// or handle; from then on the preview's own changes hide the machine's.
TEST_F(MemoryRegistryTest, OverlayReadsEachKeyOnFirstTouchAndKeepsItsChanges) {
  WriteText(registry, kHkeyLocalMachine, "Fam\\A", "v", "a");
  WriteText(registry, kHkeyLocalMachine, "Fam\\B\\C", "v", "c");
  registry.Protect(kHkeyLocalMachine, "Fam\\Locked");
  RegKey fam = Open("Fam", kKeyAllAccess);
  ASSERT_EQ(registry.CreateLink(fam, "ToC", kHkeyLocalMachine, "Fam\\B\\C"), kErrorSuccess);
  registry.CloseKey(fam);

  const SettableCodePage western;
  OverlayRegistry overlay(registry, western, {{kHkeyLocalMachine, "Fam"}});
  WriteText(registry, kHkeyLocalMachine, "Fam\\A", "late", "read");  // before the first touch
  EXPECT_EQ(TextValue(overlay, kHkeyLocalMachine, "fam\\a", "late"), "read");

  RegKey b = 0;
  ASSERT_EQ(overlay.OpenKey(kHkeyLocalMachine, "Fam\\B", kKeyAllAccess, &b), kErrorSuccess);
  EXPECT_EQ(overlay.DeleteKey(b, "C"), kErrorSuccess);
  overlay.CloseKey(b);
  RegKey key = 0;
  EXPECT_EQ(overlay.OpenKey(kHkeyLocalMachine, "Fam\\ToC", kKeyRead, &key), kErrorFileNotFound);
  EXPECT_EQ(overlay.DeleteKey(kHkeyLocalMachine, "Fam\\A"), kErrorSuccess);
  EXPECT_EQ(overlay.OpenKey(kHkeyLocalMachine, "Fam\\A", kKeyRead, &key), kErrorFileNotFound);
  EXPECT_EQ(overlay.OpenKey(kHkeyLocalMachine, "Fam\\Locked", kKeyAllAccess, &key), kErrorAccessDenied);
  ASSERT_EQ(overlay.CreateKey(kHkeyLocalMachine, "Fam\\New", &key), kErrorSuccess);
  overlay.CloseKey(key);
  EXPECT_FALSE(overlay.Unreadable());
  EXPECT_EQ(MemoryRegistryControls(overlay.Store()).OpenHandleCount(), 0u);

  EXPECT_EQ(TextValue(registry, kHkeyLocalMachine, "Fam\\ToC", "v"), "c");
  EXPECT_EQ(TextValue(registry, kHkeyLocalMachine, "Fam\\A", "v"), "a");
  EXPECT_EQ(registry.OpenKey(kHkeyLocalMachine, "Fam\\New", kKeyRead, &key), kErrorFileNotFound);
}

}  // namespace
}  // namespace tw::test
