// The change log through CreateFileW and WriteFile.
#pragma once

#include "platform/log_file.h"

namespace tw {

class Win32LogFile : public LogFile {
 public:
  Win32LogFile() = default;
  ~Win32LogFile() override;
  Win32LogFile(const Win32LogFile&) = delete;
  Win32LogFile& operator=(const Win32LogFile&) = delete;

  Status Open(const char* path) override;
  Status AppendLine(const std::string& text) override;
  std::string LocalTime() override;

 private:
  void* handle_ = nullptr;  // HANDLE, null while closed
};

}  // namespace tw
