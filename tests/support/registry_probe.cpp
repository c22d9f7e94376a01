#include "tests/support/registry_probe.h"

#include <gtest/gtest.h>

#include "registry/enumeration.h"
#include "tests/support/portable/reg_file.h"

namespace tw::test {

bool KeyExists(Registry& registry, RegKey root, const std::string& path) {
  RegKey key = 0;
  if (registry.OpenKey(root, path.c_str(), kKeyQueryValue, &key) != kErrorSuccess) return false;
  registry.CloseKey(key);
  return true;
}

std::optional<std::vector<std::uint8_t>> ValueBytes(Registry& registry, RegKey root, const std::string& path,
                                                    const std::string& name) {
  RegKey key = 0;
  if (registry.OpenKey(root, path.c_str(), kKeyQueryValue, &key) != kErrorSuccess) return std::nullopt;
  std::uint32_t size = 0;
  std::optional<std::vector<std::uint8_t>> result;
  if (registry.QueryValue(key, name.c_str(), nullptr, nullptr, &size) == kErrorSuccess) {
    std::vector<std::uint8_t> data(size);
    if (registry.QueryValue(key, name.c_str(), nullptr, data.data(), &size) == kErrorSuccess) {
      data.resize(size);
      result = data;
    }
  }
  registry.CloseKey(key);
  return result;
}

std::optional<std::uint32_t> DwordValue(Registry& registry, RegKey root, const std::string& path,
                                        const std::string& name) {
  auto bytes = ValueBytes(registry, root, path, name);
  if (!bytes || bytes->size() != 4) return std::nullopt;
  const auto& b = *bytes;
  return static_cast<std::uint32_t>(b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24);
}

std::optional<std::string> TextValue(Registry& registry, RegKey root, const std::string& path,
                                     const std::string& name) {
  auto bytes = ValueBytes(registry, root, path, name);
  if (!bytes) return std::nullopt;
  std::string text(bytes->begin(), bytes->end());
  return text.substr(0, text.find('\0'));
}

void WriteValue(Registry& registry, RegKey root, const std::string& path, const std::string& name, ValueType type,
                const std::vector<std::uint8_t>& data) {
  RegKey key = 0;
  ASSERT_EQ(registry.CreateKey(root, path.c_str(), &key), kErrorSuccess) << path;
  EXPECT_EQ(WriteValueBytes(registry, key, name.c_str(), type, data), kErrorSuccess);
  registry.CloseKey(key);
}

void WriteDword(Registry& registry, RegKey root, const std::string& path, const std::string& name,
                std::uint32_t value) {
  WriteValue(registry, root, path, name, kRegDword,
             {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
              static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)});
}

void WriteText(Registry& registry, RegKey root, const std::string& path, const std::string& name,
               const std::string& text) {
  std::vector<std::uint8_t> data(text.begin(), text.end());
  data.push_back(0);
  WriteValue(registry, root, path, name, kRegSz, data);
}

void MakeLastProduct(Registry& registry, const std::string& product, const std::string& language) {
  WriteDword(registry, kHkeyLocalMachine, Family("Install\\Counters"), "ProductCtr", 1);
  RegKey languages = 0;
  if (registry.OpenKey(kHkeyLocalMachine, Family("Install\\Languages").c_str(), kKeyRead, &languages) != kErrorSuccess) {
    return;
  }
  for (const std::string& name : CollectSubkeyNames(registry, languages, 256)) {
    RegKey key = 0;
    if (registry.OpenKey(languages, name.c_str(), kKeyAllAccess, &key) != kErrorSuccess) continue;
    for (const RegistryValue& value : CollectValues(registry, key, 256, 1024)) {
      const bool counter = value.name.size() > 3 && value.name.compare(value.name.size() - 3, 3, "Ctr") == 0;
      if (counter && value.name != "UsageCtr" && !(name == language && value.name == product + "Ctr")) {
        registry.DeleteValue(key, value.name.c_str());
      }
    }
    registry.CloseKey(key);
  }
  registry.CloseKey(languages);
}

std::string Family(const std::string& path) { return "SOFTWARE\\Corvane\\Talkwise\\" + path; }

}  // namespace tw::test
