#include "platform/win32/win32_speech_engine.h"

#include <windows.h>

#include "platform/code_page.h"
#include "platform/win32/administrators_only.h"
#include "platform/win32/exact_path.h"
#include "platform/win32/library_copy.h"
#include "platform/win32/wide_text.h"

namespace tw {
namespace {

constexpr char kLibraryName[] = "spchcfg.cpl";
constexpr std::uint32_t kFolderCapacity = MAX_PATH;

using UninstallSpeechUserFunction = LONG(WINAPI*)(HWND window, HINSTANCE instance, LPCSTR languageCode,
                                                  LPCSTR userName);

// "X:\name\name...": no UNC or device path, nothing relative, no "." or ".."
// component, no forward slash; the folder may end in one backslash. Checked
// in UTF-16: a double-byte character's trail byte may look like "\" or "|".
bool IsPlainLocalFolder(const WideText& folder) {
  if (folder.size() < 3 || !IsDriveLetter(folder[0]) || folder[1] != L':' || folder[2] != L'\\') return false;
  if (folder.find_first_of(L"/*?\"<>|") != WideText::npos || folder.find(L':', 2) != WideText::npos) return false;
  const WideText inner = folder + (folder.back() == L'\\' ? L"" : L"\\");
  return inner.find(L"\\.\\") == WideText::npos && inner.find(L"\\..\\") == WideText::npos &&
         inner.find(L"\\\\", 2) == WideText::npos;
}

// Loads the library at a full path when it is a plain file found exactly
// there; its own imports are then looked for in its folder and the system's.
HMODULE LoadByFullPath(const std::string& path) {
  const WideText wide = WidenFromActiveCodePage(path.c_str());
  if (wide.empty() || !IsPlainFileAt(wide.c_str(), false)) return nullptr;
  return LoadLibraryExW(wide.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE LoadFromSystemFolder() {
  HMODULE library = LoadLibraryExA(kLibraryName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (library != nullptr || GetLastError() != ERROR_INVALID_PARAMETER) return library;
  // Systems older than that flag: the same folder, by its full path.
  char folder[MAX_PATH];
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  return LoadByFullPath(std::string(folder, length) + "\\" + kLibraryName);
}

// Whether the system folder holds the library, without loading it.
bool SystemFolderHoldsLibrary() {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  return IsPlainFileAt((WideText(folder, length) + L"\\" + WidenFromActiveCodePage(kLibraryName)).c_str(), false);
}

}  // namespace

Win32SpeechEngine::Win32SpeechEngine(Registry& registry, EngineFolderValue engineFolder)
    : registry_(registry), engineFolder_(std::move(engineFolder)) {}

Win32SpeechEngine::~Win32SpeechEngine() = default;

std::int32_t Win32SpeechEngine::UninstallSpeechUser(WindowHandle window, InstanceHandle instance,
                                                    const char* languageCode, const char* userName) {
  if (!bound_) Bind();
  if (uninstallSpeechUser_ == nullptr) return 0;  // no engine installed: nothing to remove
  const auto function = reinterpret_cast<UninstallSpeechUserFunction>(uninstallSpeechUser_);
  return function(reinterpret_cast<HWND>(window), reinterpret_cast<HINSTANCE>(instance), languageCode, userName);
}

std::string Win32SpeechEngine::LibraryInEngineFolder() {
  RegKey key = 0;
  if (registry_.OpenKey(kHkeyLocalMachine, engineFolder_.keyPath.c_str(), kKeyQueryValue, &key) != kErrorSuccess) {
    return std::string();
  }
  char folder[kFolderCapacity];
  ValueType type = kRegNone;
  std::uint32_t size = kFolderCapacity - 1;
  const Status status =
      registry_.QueryValue(key, engineFolder_.valueName.c_str(), &type, reinterpret_cast<std::uint8_t*>(folder), &size);
  registry_.CloseKey(key);
  if (status != kErrorSuccess || type != kRegSz) return std::string();
  folder[size] = '\0';
  const std::string text(folder);  // up to the stored terminator
  const WideText wide = WidenFromActiveCodePage(text.c_str());
  if (!IsPlainLocalFolder(wide)) return std::string();
  const std::string path = text + (wide.back() == L'\\' ? "" : "\\") + kLibraryName;
  return path.size() < MAX_PATH ? path : std::string();
}

void* Win32SpeechEngine::OpenFromEngineFolder(const std::string& path) {
  const WideText file = WidenFromActiveCodePage(path.c_str());
  if (file.empty() || !IsPlainFileAt(file.c_str(), false)) return nullptr;  // none there: nothing passed over
  WideText folder = file.substr(0, file.rfind(L'\\'));
  if (folder.back() == L':') folder += L'\\';
  const HANDLE folderHandle = OpenAtExactPath(folder.c_str(), READ_CONTROL, kShareAll);
  // Read through the handle whose rights were checked, nobody writing meanwhile.
  const HANDLE fileHandle = OpenAtExactPath(file.c_str(), READ_CONTROL | FILE_READ_DATA, FILE_SHARE_READ);
  const bool administrators = folderHandle != INVALID_HANDLE_VALUE && fileHandle != INVALID_HANDLE_VALUE &&
                              OnlyAdministratorsCanWrite(folderHandle) && OnlyAdministratorsCanWrite(fileHandle);
  if (folderHandle != INVALID_HANDLE_VALUE) CloseHandle(folderHandle);
  if (administrators) return fileHandle;
  if (fileHandle != INVALID_HANDLE_VALUE) CloseHandle(fileHandle);
  passedOver_ = path;
  return nullptr;
}

void* Win32SpeechEngine::LoadFromEngineFolder(const std::string& path) {
  const HANDLE fileHandle = OpenFromEngineFolder(path);
  if (fileHandle == nullptr) return nullptr;
  const WideText file = WidenFromActiveCodePage(path.c_str());
  copy_ = std::make_unique<LibraryCopy>();
  HMODULE library = copy_->Load(fileHandle, file.substr(file.rfind(L'\\') + 1).c_str());
  CloseHandle(fileHandle);
  return library;
}

void Win32SpeechEngine::CheckLibrary() {
  if (bound_ || checked_) return;
  checked_ = true;
  if (SystemFolderHoldsLibrary()) return;
  const std::string inEngineFolder = LibraryInEngineFolder();
  if (inEngineFolder.empty()) return;
  const HANDLE fileHandle = OpenFromEngineFolder(inEngineFolder);
  if (fileHandle != nullptr) CloseHandle(fileHandle);
}

void Win32SpeechEngine::Bind() {
  bound_ = true;
  // Keep the current directory out of the search for the library's own imports.
  SetDllDirectoryA("");
  HMODULE library = LoadFromSystemFolder();
  const std::string inEngineFolder = library == nullptr ? LibraryInEngineFolder() : std::string();
  if (!inEngineFolder.empty()) library = static_cast<HMODULE>(LoadFromEngineFolder(inEngineFolder));
  // Loaded for the rest of the run and never freed: the process ends soon.
  if (library == nullptr) return;
  uninstallSpeechUser_ = reinterpret_cast<ExportedFunction>(GetProcAddress(library, "UninstallSpeechUser"));
}

}  // namespace tw
