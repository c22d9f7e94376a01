#include "app/unattended_services.h"

#include "platform/types.h"

namespace tw {
namespace {

int QuietAnswer(std::uint32_t flags) { return (flags & 0x0F) == kMbYesNo ? kIdYes : kIdOk; }

}  // namespace

void QuietMessageBoxes::EnableThreeDimensionalLook() {
  if (!quiet_) inner_.EnableThreeDimensionalLook();
}

int QuietMessageBoxes::Show(std::uint32_t textId, std::uint32_t flags) {
  return quiet_ ? QuietAnswer(flags) : inner_.Show(textId, flags);
}

int QuietMessageBoxes::ShowFormatted(std::uint32_t textId, std::uint32_t flags, int number, const char* text) {
  return quiet_ ? QuietAnswer(flags) : inner_.ShowFormatted(textId, flags, number, text);
}

std::uint32_t WaitingLauncher::Start(const char* commandLine, std::uint32_t showCommand) {
  if (!wait_) return inner_.Start(commandLine, showCommand);
  std::uint32_t exitCode = 0;
  return inner_.RunToEnd(commandLine, showCommand, &exitCode);
}

}  // namespace tw
