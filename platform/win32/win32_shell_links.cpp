#include "platform/win32/win32_shell_links.h"

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "platform/win32/exact_path.h"
#include "platform/win32/user_rights.h"
#include "platform/win32/wide_text.h"

namespace tw {
namespace {

constexpr int kLinkPathChars = MAX_PATH;

// The shortcut is written only where its path says: its folder is the very
// folder named, held without share-delete for the length of the save so that
// it cannot be renamed, removed or swapped for a link meanwhile, and the file,
// when there is one, is a plain file with no other name (a hard link would
// carry the write to another file).
class HeldFolder {
 public:
  explicit HeldFolder(const wchar_t* linkPath) {
    WideText folder(linkPath);
    const auto last = folder.find_last_of(L'\\');
    if (last == WideText::npos) return;
    folder.resize(last);
    handle_ = OpenAtExactPath(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE);
  }
  ~HeldFolder() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  HeldFolder(const HeldFolder&) = delete;
  HeldFolder& operator=(const HeldFolder&) = delete;

  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

bool IsPlainFileOrMissing(const wchar_t* path) {
  return IsPlainFileAt(path, true) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

// The save's access: write access to the shortcut where it lies. A read-only
// one is refused here as Windows refuses its save; Wine, running as root,
// would write through it.
HRESULT WritableAt(const wchar_t* path) {
  const DWORD attributes = GetFileAttributesW(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return GetLastError() == ERROR_FILE_NOT_FOUND ? S_OK : E_ACCESSDENIED;
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return E_ACCESSDENIED;
  const HANDLE file = OpenAtExactPath(path, GENERIC_WRITE, kShareAll);
  if (file == INVALID_HANDLE_VALUE) return HRESULT_FROM_WIN32(GetLastError());
  CloseHandle(file);
  return S_OK;
}

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
  } else if (const HeldFolder folder(wideLinkPath); !folder.Held() || !IsPlainFileOrMissing(wideLinkPath)) {
    result = E_ACCESSDENIED;
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
    if (const HRESULT writable = WritableAt(wideLinkPath); FAILED(writable)) return writable;
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
  const UserRights rights;
  if (!rights.Held()) return E_ACCESSDENIED;
  return WithLinkObject(
      [&](IShellLinkA* link) { return UpdateThroughLink(link, targetPath, linkPath, workingDirectory); });
}

ComResult Win32ShellLinks::MayUpdate(const char* linkPath) {
  const UserRights rights;
  return WithLinkObject([&](IShellLinkA* link) {
    return WithLinkFile(link, linkPath, [](IPersistFile*, const wchar_t* wideLinkPath) { return WritableAt(wideLinkPath); });
  });
}

ComResult Win32ShellLinks::Read(const char* linkPath, ShortcutTarget* target) {
  return WithLinkObject([&](IShellLinkA* link) { return ReadThroughLink(link, linkPath, target); });
}

}  // namespace tw
