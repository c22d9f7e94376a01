// A world whose registry is an in-memory one: what the 8-bit calls cannot
// make is made by that registry itself.
#pragma once

#include "platform/memory/memory_registry.h"
#include "tests/support/portable/memory_registry_controls.h"
#include "tests/contract/contract_world.h"

namespace tw::contract {

class MemoryRegistryWorld : public ContractWorld {
 public:
  Registry& registry() override { return memoryRegistry(); }
  Status CreateLink(RegKey parent, const std::string& name, RegKey targetRoot,
                    const std::string& targetPath) override {
    return test::MemoryRegistryControls(memoryRegistry()).CreateLink(parent, name, targetRoot, targetPath);
  }
  Status CreateKeyNamed(RegKey parent, const std::string& name) override {
    return test::MemoryRegistryControls(memoryRegistry()).CreateKeyNamed(parent, name);
  }
  Status SetValueNamed(RegKey key, const std::string& name, ValueType type,
                       const std::vector<std::uint8_t>& data) override {
    return test::MemoryRegistryControls(memoryRegistry()).SetValueNamed(key, name, type, data);
  }
  Status DeleteKeyNamed(RegKey parent, const std::string& name) override {
    return test::MemoryRegistryControls(memoryRegistry()).DeleteKeyNamed(parent, name);
  }

 protected:
  virtual MemoryRegistry& memoryRegistry() = 0;
};

}  // namespace tw::contract
