// The fixture every contract test starts from: one world, its scratch key
// open with full access, and helpers that fail the test on unexpected errors.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/contract/contract_world.h"

namespace tw::contract {

using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(const std::string& text);

class ContractTest : public ::testing::Test {
 protected:
  ContractTest();
  ~ContractTest() override;

  // Registry: paths are relative to the scratch key; handles are closed at the end.
  RegKey Create(const std::string& path);
  RegKey Open(const std::string& path, AccessMask access);
  Status TryOpen(const std::string& path, AccessMask access);
  void Set(RegKey key, const std::string& name, ValueType type, const Bytes& data);
  // The status of enumerating the index with roomy buffers.
  Status EnumKeyAt(RegKey key, std::uint32_t index, std::string* name = nullptr);
  Status EnumValueAt(RegKey key, std::uint32_t index, std::string* name = nullptr);
  std::vector<std::string> SubkeyNames(RegKey key);
  std::vector<std::string> ValueNames(RegKey key);
  std::string KeyPath(const std::string& path) const;

  // Files: names are relative to the scratch folder.
  std::string FilePath(const std::string& name) const;
  void MakeFile(const std::string& name, bool readOnly = false);
  void MakeFolder(const std::string& name);
  // Every entry the search yields, in order; lastError is what ended it.
  std::vector<FindData> Find(const std::string& pattern, Status* lastError);

  std::unique_ptr<ContractWorld> world;
  Registry& registry;
  FileSystem& files;
  RegKey scratch = 0;

 private:
  RegKey Keep(RegKey key);
  std::vector<RegKey> handles_;
};

std::vector<std::string> NamesOf(const std::vector<FindData>& found);

}  // namespace tw::contract
