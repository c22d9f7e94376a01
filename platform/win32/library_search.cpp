#include "platform/win32/library_search.h"

#include <windows.h>

namespace tw {

void SearchLibrariesInSystemFolderOnly() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD directoryFlags);
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) return;
  // Through the untyped function pointer type, which any function's may be cast to and from.
  const auto untyped = reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetDefaultDllDirectories"));
  const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(untyped);
  if (setDefault != nullptr) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace tw
