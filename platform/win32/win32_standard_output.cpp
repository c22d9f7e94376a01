#include "platform/win32/win32_standard_output.h"

#include <windows.h>

#include <string>

#include "platform/win32/wide_text.h"

namespace tw {
namespace {

HANDLE OutputHandle() {
  static HANDLE handle = [] {
    HANDLE given = GetStdHandle(STD_OUTPUT_HANDLE);
    if (given != nullptr && given != INVALID_HANDLE_VALUE) return given;
    // Started from a console without a redirection: a GUI program gets no
    // handle, but may write to its parent's console.
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return INVALID_HANDLE_VALUE;
    return CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
  }();
  return handle;
}

}  // namespace

void Win32StandardOutput::WriteLine(const std::string& text) {
  const HANDLE handle = OutputHandle();
  if (handle == INVALID_HANDLE_VALUE) return;
  const std::string line = text + "\r\n";
  DWORD mode = 0;
  if (GetConsoleMode(handle, &mode)) {
    const WideText wide = WidenFromUtf8(line.c_str());
    DWORD written = 0;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  DWORD written = 0;
  WriteFile(handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace tw
