#include "platform/win32/win32_shell_links.h"

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "platform/win32/held_folder.h"
#include "platform/win32/user_rights.h"
#include "platform/win32/wide_text.h"

namespace tw {
namespace {

constexpr int kLinkPathChars = MAX_PATH;
// A shortcut is a few kilobytes; a bigger file at its name is none.
constexpr DWORD kShortcutBytesLimit = 1024 * 1024;

// Where a shortcut lies: the folder of the link path, held for the length of
// the call, and the file's one name in it. The shortcut is read and written
// through a handle opened by that name in the held folder, never by its path:
// a folder swapped for a junction between a check and the save, or between
// two saves, receives nothing.
struct LinkPlace {
  explicit LinkPlace(const char* linkPath) {
    wchar_t wide[kLinkPathChars];
    // A path that does not fit is refused rather than cut short: a cut path
    // would name, and overwrite, another file.
    if (MultiByteToWideChar(CP_ACP, 0, linkPath, -1, wide, kLinkPathChars) == 0) return;
    const WideText path(wide);
    const auto last = path.find_last_of(L'\\');
    if (last == WideText::npos) return;
    folder = path.substr(0, last);
    name = path.substr(last + 1);
  }
  WideText folder;
  WideText name;
};

// The file at the name is a plain file, no folder or link, with no other name
// (a hard link would carry the write to another file, or show another file's
// fields); for a save also not read-only (Windows refuses its save; Wine,
// running as root, would write through it).
HRESULT CheckPlainFile(HANDLE file, bool forSave) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(file, &info)) return HRESULT_FROM_WIN32(GetLastError());
  const DWORD refused =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | (forSave ? FILE_ATTRIBUTE_READONLY : 0);
  return (info.dwFileAttributes & refused) == 0 && info.nNumberOfLinks == 1 ? S_OK : E_ACCESSDENIED;
}

// The shortcut at linkPath opened for access in its held folder and checked,
// handed to use; a missing one (without create) as INVALID_HANDLE_VALUE.
// When use fails on a file this call made, the file goes again.
template <typename Use>
HRESULT WithShortcutFile(const char* linkPath, DWORD access, bool create, Use use) {
  const LinkPlace place(linkPath);
  if (place.folder.empty()) return E_INVALIDARG;
  const HeldFolder folder(place.folder.c_str());
  if (!folder.Held()) return E_ACCESSDENIED;
  bool created = false;
  const HANDLE file = folder.Open(place.name.c_str(), access | FILE_READ_ATTRIBUTES, FILE_SHARE_READ, create, &created);
  if (file == INVALID_HANDLE_VALUE) {
    return GetLastError() == ERROR_FILE_NOT_FOUND && !create ? use(INVALID_HANDLE_VALUE) : E_ACCESSDENIED;
  }
  HRESULT result = CheckPlainFile(file, (access & FILE_WRITE_DATA) != 0);
  if (SUCCEEDED(result)) result = use(file);
  if (FAILED(result) && created) {
    FILE_DISPOSITION_INFO disposition{TRUE};
    SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
  }
  CloseHandle(file);
  return result;
}

// The shortcut's bytes read through the handle into the link object; an
// empty file is a new shortcut and loads nothing.
HRESULT LoadFrom(HANDLE file, IPersistStream* persist) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size)) return HRESULT_FROM_WIN32(GetLastError());
  if (size.QuadPart == 0) return S_FALSE;
  if (size.QuadPart > kShortcutBytesLimit) return E_ACCESSDENIED;
  const DWORD bytes = static_cast<DWORD>(size.QuadPart);
  const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (memory == nullptr) return E_OUTOFMEMORY;
  DWORD read = 0;
  void* data = GlobalLock(memory);
  const bool complete = data != nullptr && ReadFile(file, data, bytes, &read, nullptr) && read == bytes;
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (!complete || FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    return E_FAIL;
  }
  const HRESULT result = persist->Load(stream);
  stream->Release();  // frees the memory
  return result;
}

// The link object's bytes made in memory, then written through the handle
// over what the file held.
HRESULT SaveTo(HANDLE file, IPersistStream* persist) {
  IStream* stream = nullptr;
  HRESULT result = CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  if (FAILED(result)) return result;
  result = persist->Save(stream, TRUE);
  ULARGE_INTEGER size{};
  HGLOBAL memory = nullptr;
  if (SUCCEEDED(result)) result = stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_CUR, &size);
  if (SUCCEEDED(result)) result = GetHGlobalFromStream(stream, &memory);
  if (SUCCEEDED(result)) {
    const DWORD bytes = static_cast<DWORD>(size.QuadPart);
    const void* data = GlobalLock(memory);
    DWORD written = 0;
    const bool saved = data != nullptr && SetFilePointerEx(file, LARGE_INTEGER{}, nullptr, FILE_BEGIN) &&
                       WriteFile(file, data, bytes, &written, nullptr) && written == bytes && SetEndOfFile(file);
    if (!saved) result = HRESULT_FROM_WIN32(GetLastError());
    if (data != nullptr) GlobalUnlock(memory);
  }
  stream->Release();
  return result;
}

template <typename Use>
HRESULT WithPersistStream(IShellLinkA* link, Use use) {
  IPersistStream* persist = nullptr;
  HRESULT result = link->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&persist));
  if (FAILED(result)) return result;
  result = use(persist);
  persist->Release();
  return result;
}

// Loads, changes and saves one shortcut; a missing one is made.
HRESULT UpdateThroughLink(IShellLinkA* link, const char* targetPath, const char* linkPath,
                          const char* workingDirectory) {
  return WithPersistStream(link, [&](IPersistStream* persist) {
    return WithShortcutFile(linkPath, FILE_READ_DATA | FILE_WRITE_DATA, true, [&](HANDLE file) {
      LoadFrom(file, persist);  // what is no shortcut is saved over with a new one
      link->SetPath(targetPath);
      link->SetWorkingDirectory(workingDirectory);
      link->SetIconLocation(nullptr, 0);
      return SaveTo(file, persist);
    });
  });
}

HRESULT ReadThroughLink(IShellLinkA* link, const char* linkPath, ShortcutTarget* target) {
  const HRESULT result = WithPersistStream(link, [&](IPersistStream* persist) {
    return WithShortcutFile(linkPath, FILE_READ_DATA, false, [&](HANDLE file) {
      if (file == INVALID_HANDLE_VALUE) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
      const HRESULT loaded = LoadFrom(file, persist);
      return loaded == S_FALSE ? E_FAIL : loaded;
    });
  });
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

// The open of Update without its create: a missing shortcut would be made.
ComResult Win32ShellLinks::MayUpdate(const char* linkPath) {
  const UserRights rights;
  return WithLinkObject([&](IShellLinkA* link) {
    return WithPersistStream(link, [&](IPersistStream*) {
      return WithShortcutFile(linkPath, FILE_READ_DATA | FILE_WRITE_DATA, false, [](HANDLE) { return S_OK; });
    });
  });
}

ComResult Win32ShellLinks::Read(const char* linkPath, ShortcutTarget* target) {
  return WithLinkObject([&](IShellLinkA* link) { return ReadThroughLink(link, linkPath, target); });
}

}  // namespace tw
