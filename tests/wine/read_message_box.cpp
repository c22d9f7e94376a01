// Waits for the message box with the caption given as the only argument and
// prints what it shows, as UTF-8 lines a test can compare:
//   text=<the message>
//   buttons=<the buttons' ids, left to right>
//   text_rect=<left> <top> <width> <height>   (screen pixels of the message)
// Exits 1 when no such box appears within ten seconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// The control id that the system's message box gives its text.
constexpr int kMessageTextId = 0xFFFF;

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string result(size > 0 ? size : 1, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
  result.resize(result.find('\0'));
  return result;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

BOOL CALLBACK CollectButton(HWND child, LPARAM list) {
  wchar_t className[16] = {};
  GetClassNameW(child, className, 16);
  if (lstrcmpiW(className, L"Button") == 0 && IsWindowVisible(child)) {
    RECT rect{};
    GetWindowRect(child, &rect);
    reinterpret_cast<std::vector<std::pair<LONG, int>>*>(list)->emplace_back(rect.left, GetDlgCtrlID(child));
  }
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fputs("usage: read_message_box CAPTION\n", stderr);
    return 2;
  }
  // The box is found while it is being built; it is read once it is shown.
  HWND box = nullptr;
  for (int attempt = 0; attempt < 100; ++attempt) {
    box = FindWindowW(L"#32770", argv[1]);
    if (box != nullptr && IsWindowVisible(box)) break;
    box = nullptr;
    Sleep(100);
  }
  if (box == nullptr) return 1;

  const HWND textControl = GetDlgItem(box, kMessageTextId);
  RECT textRect{};
  if (textControl != nullptr) GetWindowRect(textControl, &textRect);

  std::vector<std::pair<LONG, int>> buttons;
  EnumChildWindows(box, CollectButton, reinterpret_cast<LPARAM>(&buttons));
  std::sort(buttons.begin(), buttons.end());
  std::string buttonIds;
  for (const auto& button : buttons) buttonIds += (buttonIds.empty() ? "" : " ") + std::to_string(button.second);

  const std::string text = Utf8(textControl != nullptr ? WindowText(textControl) : L"");
  std::printf("text=%s\nbuttons=%s\ntext_rect=%ld %ld %ld %ld\n", text.c_str(), buttonIds.c_str(), textRect.left,
              textRect.top, textRect.right - textRect.left, textRect.bottom - textRect.top);
  return 0;
}
