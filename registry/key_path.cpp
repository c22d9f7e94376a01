#include "registry/key_path.h"

namespace tw {

std::optional<std::string> JoinPath(std::initializer_list<std::string_view> parts, std::uint32_t capacity) {
  std::string path;
  for (std::string_view part : parts) {
    if (!path.empty()) path += '\\';
    path.append(part.data(), part.size());
  }
  if (path.size() + 1 > capacity) return std::nullopt;
  return path;
}

std::optional<std::string> FamilyPath(std::initializer_list<std::string_view> parts) {
  std::string path = std::string(layout::kSoftware) + '\\' + layout::kCompany + '\\' + layout::kFamily;
  for (std::string_view part : parts) {
    path += '\\';
    path.append(part.data(), part.size());
  }
  if (path.size() + 1 > layout::kKeyPathCapacity) return std::nullopt;
  return path;
}

std::optional<std::string> LanguageKeyPath(std::string_view languageCode) {
  return FamilyPath({layout::kInstall, layout::kLanguages, languageCode});
}

std::optional<std::string> SuffixedName(std::string_view name, std::string_view suffix, std::uint32_t capacity) {
  std::string result(name);
  result.append(suffix.data(), suffix.size());
  if (result.size() + 1 > capacity) return std::nullopt;
  return result;
}

std::optional<std::string> FolderValueName(const std::string& productCode, const std::string& variantLetter) {
  if (productCode == layout::kProdRun) {
    return std::string(variantLetter == "C" ? layout::kProdRunControlFolder : layout::kProdRunDictateFolder);
  }
  return SuffixedName(productCode, layout::kFolderSuffix);
}

}  // namespace tw
