// Composition of registry paths with one backslash between the parts.
// A path that does not fit the fixed buffer it was made for is refused rather
// than cut: a cut path can name a different key, and deleting that loses data.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "registry/layout.h"

namespace tw {

std::optional<std::string> JoinPath(std::initializer_list<std::string_view> parts,
                                    std::uint32_t capacity = layout::kKeyPathCapacity);

// SOFTWARE\Corvane\Talkwise\<parts...>
std::optional<std::string> FamilyPath(std::initializer_list<std::string_view> parts);

// SOFTWARE\Corvane\Talkwise\Install\Languages\<language code>
std::optional<std::string> LanguageKeyPath(std::string_view languageCode);

// printf-style "%s<suffix>" names such as "<product>Ctr", in a buffer of capacity characters.
std::optional<std::string> SuffixedName(std::string_view name, std::string_view suffix,
                                        std::uint32_t capacity = layout::kPathCapacity);

// The value of a language key that names a product's start-menu folder:
// "<product>Folder", or for ProdRun the one of its variant ("C": control).
std::optional<std::string> FolderValueName(const std::string& productCode, const std::string& variantLetter);

}  // namespace tw
