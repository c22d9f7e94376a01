// The family's two help directories, as the dictation and the control
// component record them.
#pragma once

#include <optional>
#include <string>

#include "platform/code_page.h"
#include "platform/registry.h"

namespace tw {

// The value "Help" of SOFTWARE\Corvane\Talkwise\<component>\Directories.
// Nothing when it cannot be read or is empty: an empty directory would turn
// every path composed from it into a path at the root of the drive.
std::optional<std::string> ReadHelpDirectory(Registry& registry, const char* component);

struct HelpDirectories {
  // The dictation help directory when there is one, else the control one.
  std::string main;
  std::optional<std::string> control;
  // Both are there and name different directories (case aside).
  bool differ = false;
};

// Nothing when neither component records a help directory.
std::optional<HelpDirectories> ReadHelpDirectories(Registry& registry, const CodePage& codePage);

}  // namespace tw
