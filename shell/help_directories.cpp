#include "shell/help_directories.h"

#include "registry/key_path.h"
#include "registry/layout.h"
#include "registry/scoped_key.h"
#include "registry/text.h"

namespace tw {

std::optional<std::string> ReadHelpDirectory(Registry& registry, const char* component) {
  ScopedKey key(registry, kHkeyLocalMachine, FamilyPath({component, layout::kDirectories}), kKeyQueryValue);
  auto directory = key.ReadText(layout::kHelpDirectory, layout::kPathCapacity);
  if (!directory || directory->empty()) return std::nullopt;
  return directory;
}

std::optional<HelpDirectories> ReadHelpDirectories(Registry& registry, const CodePage& codePage) {
  auto dictation = ReadHelpDirectory(registry, layout::kDictation);
  auto control = ReadHelpDirectory(registry, layout::kControl);
  if (!dictation && !control) return std::nullopt;
  HelpDirectories directories;
  directories.control = control;
  if (!dictation) {
    directories.main = *control;
    return directories;
  }
  directories.main = *dictation;
  directories.differ = control && CompareTextNoCase(codePage, dictation->c_str(), control->c_str()) != 0;
  return directories;
}

}  // namespace tw
