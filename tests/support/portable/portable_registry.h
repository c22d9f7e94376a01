// The registry of the native tests: an in-memory one with the tests'
// controls, and a hook run before each call (another process changing the
// registry in the middle of a walk).
#pragma once

#include <functional>

#include "platform/memory/memory_registry.h"
#include "tests/support/portable/ascii_code_page.h"
#include "tests/support/portable/memory_registry_controls.h"

namespace tw::test {

class PortableRegistry : public MemoryRegistry, public MemoryRegistryControls {
 public:
  explicit PortableRegistry(const CodePage& codePage = AsciiCodePage())
      : MemoryRegistry(codePage), MemoryRegistryControls(static_cast<MemoryRegistry&>(*this)) {}

  // Runs before each call of the Registry interface (not before the hook's
  // own calls).
  void SetBetweenCalls(std::function<void()> hook) { betweenCalls_ = std::move(hook); }

  Status OpenKey(RegKey parent, const char* subKey, AccessMask access, RegKey* result) override;
  Status CreateKey(RegKey parent, const char* subKey, RegKey* result) override;
  Status QueryValue(RegKey key, const char* valueName, ValueType* type, std::uint8_t* data,
                    std::uint32_t* dataSize) override;
  Status SetValue(RegKey key, const char* valueName, ValueType type, const std::uint8_t* data,
                  std::uint32_t dataSize) override;
  Status EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameChars) override;
  Status EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameChars, ValueType* type,
                   std::uint8_t* data, std::uint32_t* dataSize) override;
  Status DeleteValue(RegKey key, const char* valueName) override;
  Status DeleteKey(RegKey key, const char* subKey) override;
  Status CloseKey(RegKey key) override;
  Status LoadHive(const char* name, const char* filePath) override;
  Status UnloadHive(const char* name) override;

 private:
  void BetweenCalls();

  std::function<void()> betweenCalls_;
  bool inBetweenCalls_ = false;
};

}  // namespace tw::test
