// A library loaded from a copy of the very file that was checked. A folder
// whose parent an ordinary user may change can be renamed away, and another
// put in its place, between the check of its rights and a load by path; the
// copy is read through the checked handle into a folder of its own that only
// Administrators and SYSTEM can change, held open so that it cannot be
// renamed either, loaded from there and removed when it is freed. A run
// killed meanwhile leaves that folder in the Windows folder's Temp, which
// only administrators can change; every run names its own.
#pragma once

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace tw {

class LibraryCopy {
 public:
  LibraryCopy() = default;
  ~LibraryCopy();  // frees the library and removes the copy and its folder
  LibraryCopy(const LibraryCopy&) = delete;
  LibraryCopy& operator=(const LibraryCopy&) = delete;

  // Copies what source holds (opened with FILE_READ_DATA, no write sharing)
  // under fileName and loads the copy; null when any step fails, nothing left.
  HMODULE Load(HANDLE source, const wchar_t* fileName);

 private:
  bool MakeFolder(PSECURITY_DESCRIPTOR descriptor);
  bool CopyFrom(HANDLE source, PSECURITY_DESCRIPTOR descriptor);
  void Remove();

  WideText folderPath_;
  WideText filePath_;
  HANDLE folder_ = INVALID_HANDLE_VALUE;
  HANDLE file_ = INVALID_HANDLE_VALUE;
  HMODULE library_ = nullptr;
};

}  // namespace tw
