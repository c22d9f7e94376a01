#include "platform/journal/journal_shell_links.h"

#include <string>

#include "platform/journal/reg_syntax.h"

namespace tw {
namespace {

std::string OrNone(const std::string& text) { return text.empty() ? "(none)" : text; }

}  // namespace

ComResult JournalShellLinks::Update(const char* targetPath, const char* linkPath, const char* workingDirectory) {
  ShortcutTarget old;
  if (inner_.Read(linkPath, &old) != kSOk) old = ShortcutTarget{};
  const ComResult result = inner_.Update(targetPath, linkPath, workingDirectory);
  const std::string link = journal_.Utf8(linkPath);
  if (result != kSOk) {
    journal_.Failure("re-point shortcut " + link + " (0x" + HexDigits(static_cast<std::uint32_t>(result), 8) + ")",
                     result);
    return result;
  }
  journal_.Change("shortcut re-pointed: " + link);
  // Only what the update changed; the swap clears the icon location on
  // purpose, so that the shortcut shows its new target's icon.
  const auto field = [this](const char* name, const std::string& was, const std::string& now) {
    if (was == now) return;
    journal_.Note(std::string("    ") + name + ": " + OrNone(journal_.Utf8(was)) + " -> " + OrNone(journal_.Utf8(now)));
  };
  field("target", old.targetPath, targetPath);
  field("working directory", old.workingDirectory, workingDirectory);
  if (!old.iconPath.empty()) {
    journal_.Note("    icon: " + journal_.Utf8(old.iconPath) + "," + std::to_string(old.iconIndex) +
                  " -> (cleared by the swap)");
  }
  return result;
}

}  // namespace tw
