// A folder held open, and files opened by their one name inside it. A path
// is looked up afresh at each use: a folder on it that a user may rename, or
// swap for a junction, between a check and the use leads the use elsewhere.
// A name looked up in the held folder lands in that very folder whatever the
// paths do meanwhile.
#pragma once

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace tw {

class HeldFolder {
 public:
  // The folder that path names exactly (see OpenAtExactPath), itself no link,
  // held without delete sharing so that it is not renamed or removed while
  // held. Not held (GetLastError set) otherwise.
  explicit HeldFolder(const wchar_t* path);
  ~HeldFolder();
  HeldFolder(const HeldFolder&) = delete;
  HeldFolder& operator=(const HeldFolder&) = delete;

  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
  // Opens the file of that one name in the folder (create: makes it when
  // nothing has the name, with *created telling), a link at the name opened
  // as itself, never followed; a file that lies anywhere else than in this
  // folder under this name is refused. A name with a separator or a stream's
  // colon, or of dots alone, is refused. INVALID_HANDLE_VALUE with
  // GetLastError set (ERROR_FILE_NOT_FOUND for a missing file without create).
  HANDLE Open(const wchar_t* name, DWORD access, DWORD share, bool create, bool* created = nullptr) const;

 private:
  HANDLE OpenByName(const wchar_t* name, DWORD length, DWORD access, DWORD share, DWORD disposition) const;

  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace tw
