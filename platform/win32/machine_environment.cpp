#include "platform/win32/machine_environment.h"

#include <windows.h>

namespace tw {
namespace {

constexpr wchar_t kSystemEnvironment[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
constexpr DWORD kLongestValue = 32767;  // the longest environment variable Windows allows

bool SameName(const WideText& name, const wchar_t* known) {
  return CompareStringOrdinal(name.c_str(), static_cast<int>(name.size()), known, -1, TRUE) == CSTR_EQUAL;
}

WideText SystemRoot() {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemWindowsDirectoryW(folder, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? WideText() : WideText(folder, length);
}

// A value that itself holds a variable is not expanded further: which one
// it names is again up to the environment.
WideText SystemEnvironmentValue(const WideText& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSystemEnvironment, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return WideText();
  }
  WideText value(kLongestValue + 1, L'\0');
  DWORD type = REG_NONE;
  DWORD size = kLongestValue * sizeof(wchar_t);
  const LONG status =
      RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return WideText();
  value.resize(size / sizeof(wchar_t));
  while (!value.empty() && value.back() == L'\0') value.pop_back();
  return value.find(L'%') == WideText::npos ? value : WideText();
}

WideText MachineVariable(const WideText& name) {
  if (name.empty()) return WideText();
  const WideText root = SystemRoot();
  if (SameName(name, L"SystemRoot")) return root;
  if (SameName(name, L"SystemDrive")) return root.size() >= 2 && root[1] == L':' ? root.substr(0, 2) : WideText();
  return SystemEnvironmentValue(name);
}

}  // namespace

WideText ExpandWithMachineVariables(const WideText& text) {
  WideText expanded;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t open = text.find(L'%', pos);
    if (open == WideText::npos) return expanded + text.substr(pos);
    const std::size_t close = text.find(L'%', open + 1);
    if (close == WideText::npos) return WideText();
    const WideText value = MachineVariable(text.substr(open + 1, close - open - 1));
    if (value.empty()) return WideText();
    expanded += text.substr(pos, open - pos) + value;
    pos = close + 1;
  }
  return expanded;
}

}  // namespace tw
