#include "platform/win32/win32_shell_links.h"

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

namespace tw {
namespace {

constexpr int kLinkPathChars = MAX_PATH;

// The link object's file interface and the link path in UTF-16 for use; the
// library is initialised by the caller. A path that does not fit is refused
// rather than cut short: a cut path would name, and overwrite, another file.
template <typename Use>
HRESULT WithLinkFile(IShellLinkA* link, const char* linkPath, Use use) {
  IPersistFile* file = nullptr;
  HRESULT result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  if (FAILED(result)) return result;
  wchar_t wideLinkPath[kLinkPathChars];
  if (MultiByteToWideChar(CP_ACP, 0, linkPath, -1, wideLinkPath, kLinkPathChars) == 0) {
    result = HRESULT_FROM_WIN32(GetLastError());
  } else {
    result = use(file, wideLinkPath);
  }
  file->Release();
  return result;
}

// Loads, changes and saves one shortcut.
HRESULT UpdateThroughLink(IShellLinkA* link, const char* targetPath, const char* linkPath,
                          const char* workingDirectory) {
  return WithLinkFile(link, linkPath, [&](IPersistFile* file, const wchar_t* wideLinkPath) {
    file->Load(wideLinkPath, STGM_WRITE);  // a missing shortcut is saved new
    link->SetPath(targetPath);
    link->SetWorkingDirectory(workingDirectory);
    link->SetIconLocation(nullptr, 0);
    return file->Save(wideLinkPath, TRUE);
  });
}

HRESULT ReadThroughLink(IShellLinkA* link, const char* linkPath, ShortcutTarget* target) {
  const HRESULT result = WithLinkFile(
      link, linkPath, [](IPersistFile* file, const wchar_t* wideLinkPath) { return file->Load(wideLinkPath, STGM_READ); });
  if (FAILED(result)) return result;
  char text[kLinkPathChars] = "";
  int iconIndex = 0;
  if (FAILED(link->GetPath(text, kLinkPathChars, nullptr, 0))) text[0] = '\0';
  target->targetPath = text;
  if (FAILED(link->GetWorkingDirectory(text, kLinkPathChars))) text[0] = '\0';
  target->workingDirectory = text;
  if (FAILED(link->GetIconLocation(text, kLinkPathChars, &iconIndex))) text[0] = '\0';
  target->iconPath = text;
  target->iconIndex = iconIndex;
  return S_OK;
}

// One link object for the length of the call, the library initialised
// around it.
template <typename Use>
HRESULT WithLinkObject(Use use) {
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  HRESULT result =
      CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, reinterpret_cast<void**>(&link));
  if (SUCCEEDED(result)) {
    result = use(link);
    link->Release();
  }
  CoUninitialize();
  return result;
}

}  // namespace

ComResult Win32ShellLinks::Update(const char* targetPath, const char* linkPath, const char* workingDirectory) {
  return WithLinkObject(
      [&](IShellLinkA* link) { return UpdateThroughLink(link, targetPath, linkPath, workingDirectory); });
}

ComResult Win32ShellLinks::Read(const char* linkPath, ShortcutTarget* target) {
  return WithLinkObject([&](IShellLinkA* link) { return ReadThroughLink(link, linkPath, target); });
}

}  // namespace tw
