// Reads the registry the way a test wants to look at it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace tw::test {

bool KeyExists(Registry& registry, RegKey root, const std::string& path);
std::optional<std::vector<std::uint8_t>> ValueBytes(Registry& registry, RegKey root, const std::string& path,
                                                    const std::string& name);
std::optional<std::uint32_t> DwordValue(Registry& registry, RegKey root, const std::string& path,
                                        const std::string& name);
std::optional<std::string> TextValue(Registry& registry, RegKey root, const std::string& path,
                                     const std::string& name);
// Creates the key if needed and writes the value.
void WriteValue(Registry& registry, RegKey root, const std::string& path, const std::string& name, ValueType type,
                const std::vector<std::uint8_t>& data);
void WriteDword(Registry& registry, RegKey root, const std::string& path, const std::string& name,
                std::uint32_t value);
void WriteText(Registry& registry, RegKey root, const std::string& path, const std::string& name,
               const std::string& text);

// Makes the product's install for the language the family's last: ProductCtr
// 1 and no other "<product>Ctr" in any language key, so that its removal is
// the full one.
void MakeLastProduct(Registry& registry, const std::string& product, const std::string& language);

// "SOFTWARE\Corvane\Talkwise\" followed by the given path.
std::string Family(const std::string& path);

}  // namespace tw::test
