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

// Loads, changes and saves one shortcut with the link object's two
// interfaces; the library is initialised by the caller.
HRESULT UpdateThroughLink(IShellLinkA* link, const char* targetPath, const char* linkPath,
                          const char* workingDirectory) {
  IPersistFile* file = nullptr;
  HRESULT result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  if (FAILED(result)) return result;

  // A path that does not fit is refused rather than cut short: a cut path
  // would name, and overwrite, another file.
  wchar_t wideLinkPath[kLinkPathChars];
  if (MultiByteToWideChar(CP_ACP, 0, linkPath, -1, wideLinkPath, kLinkPathChars) == 0) {
    result = HRESULT_FROM_WIN32(GetLastError());
  } else if (const HeldFolder folder(wideLinkPath); !folder.Held() || !IsPlainFileOrMissing(wideLinkPath)) {
    result = E_ACCESSDENIED;
  } else {
    file->Load(wideLinkPath, STGM_WRITE);  // a missing shortcut is saved new
    link->SetPath(targetPath);
    link->SetWorkingDirectory(workingDirectory);
    link->SetIconLocation(nullptr, 0);
    result = file->Save(wideLinkPath, TRUE);
  }
  file->Release();
  return result;
}

}  // namespace

ComResult Win32ShellLinks::Update(const char* targetPath, const char* linkPath, const char* workingDirectory) {
  const UserRights rights;
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  HRESULT result =
      CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, reinterpret_cast<void**>(&link));
  if (SUCCEEDED(result)) {
    result = UpdateThroughLink(link, targetPath, linkPath, workingDirectory);
    link->Release();
  }
  CoUninitialize();
  return result;
}

}  // namespace tw
