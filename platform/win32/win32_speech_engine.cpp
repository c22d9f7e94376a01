#include "platform/win32/win32_speech_engine.h"

#include <windows.h>

namespace tw {
namespace {

constexpr char kLibraryName[] = "spchcfg.cpl";

using UninstallSpeechUserFunction = LONG(WINAPI*)(HWND window, HINSTANCE instance, LPCSTR languageCode,
                                                  LPCSTR userName);

}  // namespace

std::int32_t Win32SpeechEngine::UninstallSpeechUser(WindowHandle window, InstanceHandle instance,
                                                    const char* languageCode, const char* userName) {
  if (!bound_) Bind();
  if (uninstallSpeechUser_ == nullptr) return 0;  // no engine installed: nothing to remove
  const auto function = reinterpret_cast<UninstallSpeechUserFunction>(uninstallSpeechUser_);
  return function(reinterpret_cast<HWND>(window), reinterpret_cast<HINSTANCE>(instance), languageCode, userName);
}

void Win32SpeechEngine::Bind() {
  bound_ = true;
  // Keep the current directory out of the search: the uninstaller runs from
  // wherever the setup was started, and a library planted there must not load.
  SetDllDirectoryA("");
  // Wine takes the empty directory for "none set" and still searches the
  // current directory, so the search is also named explicitly: the program's
  // folder and the system folder. Systems older than these flags refuse them
  // and rely on the call above.
  HMODULE library = LoadLibraryExA(kLibraryName, nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
  if (library == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) library = LoadLibraryA(kLibraryName);
  // Loaded for the rest of the run and never freed: the process ends soon.
  if (library == nullptr) return;
  uninstallSpeechUser_ = reinterpret_cast<ExportedFunction>(GetProcAddress(library, "UninstallSpeechUser"));
}

}  // namespace tw
