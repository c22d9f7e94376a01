#include "platform/win32/win32_message_boxes.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "platform/message_format.h"
#include "platform/win32/wide_text.h"

namespace tw {

Win32MessageBoxes::Win32MessageBoxes(InstanceHandle instance, std::uint32_t captionId)
    : instance_(instance), captionId_(captionId) {}

void Win32MessageBoxes::EnableThreeDimensionalLook() { InitCommonControls(); }

int Win32MessageBoxes::Show(std::uint32_t textId, std::uint32_t flags) { return ShowText(LoadText(textId), flags); }

int Win32MessageBoxes::ShowFormatted(std::uint32_t textId, std::uint32_t flags, int number, const char* text) {
  const WideText message =
      FillMessageFormat(LoadText(textId), WidenAscii(std::to_string(number)), WidenFromActiveCodePage(text));
  return ShowText(message, flags);
}

bool Win32MessageBoxes::DesktopVisible() {
  DWORD session = 0;
  if (ProcessIdToSessionId(GetCurrentProcessId(), &session) && session == 0) return false;
  USEROBJECTFLAGS flags{};
  HWINSTA station = GetProcessWindowStation();
  // Not known: the boxes are shown, as they always were.
  if (station == nullptr || !GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, nullptr)) return true;
  return (flags.dwFlags & WSF_VISIBLE) != 0;
}

WideText Win32MessageBoxes::LoadText(std::uint32_t textId) const {
  // A buffer size of 0 asks for a pointer into the resource itself, so a
  // text of any length is shown whole.
  const wchar_t* resource = nullptr;
  const int length = LoadStringW(reinterpret_cast<HINSTANCE>(instance_), textId,
                                 reinterpret_cast<LPWSTR>(&resource), 0);
  if (length <= 0 || resource == nullptr) return WideText();
  return WideText(resource, static_cast<std::size_t>(length));
}

int Win32MessageBoxes::ShowText(const WideText& text, std::uint32_t flags) const {
  return MessageBoxW(nullptr, text.c_str(), LoadText(captionId_).c_str(), flags);
}

}  // namespace tw
