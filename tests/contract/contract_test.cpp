#include "tests/contract/contract_test.h"

#include <fstream>

#include "tests/support/portable/reg_file.h"

namespace tw::contract {

Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

ContractTest::ContractTest() : world(MakeContractWorld()), registry(world->registry()), files(world->files()) {
  EXPECT_EQ(registry.OpenKey(kHkeyCurrentUser, world->ScratchKey().c_str(), kKeyAllAccess, &scratch), kErrorSuccess);
  Keep(scratch);
}

ContractTest::~ContractTest() {
  for (RegKey key : handles_) registry.CloseKey(key);
}

RegKey ContractTest::Keep(RegKey key) {
  handles_.push_back(key);
  return key;
}

std::string ContractTest::KeyPath(const std::string& path) const { return world->ScratchKey() + "\\" + path; }

RegKey ContractTest::Create(const std::string& path) {
  RegKey key = 0;
  EXPECT_EQ(registry.CreateKey(scratch, path.c_str(), &key), kErrorSuccess) << path;
  return Keep(key);
}

RegKey ContractTest::Open(const std::string& path, AccessMask access) {
  RegKey key = 0;
  EXPECT_EQ(registry.OpenKey(scratch, path.c_str(), access, &key), kErrorSuccess) << path;
  return Keep(key);
}

Status ContractTest::TryOpen(const std::string& path, AccessMask access) {
  RegKey key = 0;
  const Status status = registry.OpenKey(scratch, path.c_str(), access, &key);
  if (status == kErrorSuccess) Keep(key);
  return status;
}

void ContractTest::Set(RegKey key, const std::string& name, ValueType type, const Bytes& data) {
  EXPECT_EQ(WriteValueBytes(registry, key, name.c_str(), type, data), kErrorSuccess) << name;
}

Status ContractTest::EnumKeyAt(RegKey key, std::uint32_t index, std::string* name) {
  char buffer[256];
  std::uint32_t chars = sizeof buffer;
  const Status status = registry.EnumKey(key, index, buffer, &chars);
  if (status == kErrorSuccess && name) name->assign(buffer, chars);
  return status;
}

Status ContractTest::EnumValueAt(RegKey key, std::uint32_t index, std::string* name) {
  char buffer[256];
  std::uint32_t chars = sizeof buffer;
  const Status status = registry.EnumValue(key, index, buffer, &chars, nullptr, nullptr, nullptr);
  if (status == kErrorSuccess && name) name->assign(buffer, chars);
  return status;
}

namespace {

// Every name up to ERROR_NO_MORE_ITEMS; any other error fails the test.
template <typename EnumAt>
std::vector<std::string> AllNames(EnumAt enumAt) {
  std::vector<std::string> names;
  for (std::uint32_t index = 0;; ++index) {
    std::string name;
    const Status status = enumAt(index, &name);
    if (status == kErrorNoMoreItems) return names;
    EXPECT_EQ(status, kErrorSuccess) << "index " << index;
    if (status != kErrorSuccess) return names;
    names.push_back(name);
  }
}

}  // namespace

std::vector<std::string> ContractTest::SubkeyNames(RegKey key) {
  return AllNames([&](std::uint32_t index, std::string* name) { return EnumKeyAt(key, index, name); });
}

std::vector<std::string> ContractTest::ValueNames(RegKey key) {
  return AllNames([&](std::uint32_t index, std::string* name) { return EnumValueAt(key, index, name); });
}

std::string ContractTest::FilePath(const std::string& name) const { return world->ScratchFolder() + "\\" + name; }

void ContractTest::MakeFile(const std::string& name, bool readOnly) {
  const auto host = world->Host(FilePath(name));
  std::ofstream(host, std::ios::binary) << name;
  ASSERT_TRUE(std::filesystem::exists(host)) << name;
  if (readOnly) {
    std::filesystem::permissions(host, std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                           std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
  }
}

void ContractTest::MakeFolder(const std::string& name) {
  ASSERT_TRUE(std::filesystem::create_directory(world->Host(FilePath(name)))) << name;
}

std::vector<FindData> ContractTest::Find(const std::string& pattern, Status* lastError) {
  std::vector<FindData> found;
  FindData data;
  const FindHandle search = files.FindFirst(pattern.c_str(), &data);
  if (search == kInvalidFindHandle) {
    *lastError = files.LastError();
    return found;
  }
  do {
    found.push_back(data);
  } while (files.FindNext(search, &data));
  *lastError = files.LastError();
  EXPECT_TRUE(files.FindClose(search));
  return found;
}

std::vector<std::string> NamesOf(const std::vector<FindData>& found) {
  std::vector<std::string> names;
  for (const FindData& entry : found) names.push_back(entry.name);
  return names;
}

}  // namespace tw::contract
