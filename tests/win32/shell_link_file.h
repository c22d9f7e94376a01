// Reads and writes shortcut files behind Win32ShellLinks' back, through the
// shell's own link object, so that a test sees what the shell will see.
#pragma once

#include <string>

namespace tw::win32test {

struct ShellLinkFields {
  std::string target;
  std::string workingDirectory;
  std::string iconPath;
  int iconIndex = 0;
  std::string arguments;
  std::string description;
  unsigned short hotKey = 0;
  int showCommand = 1;
};

// False when the file cannot be written or read.
bool WriteShellLink(const std::string& linkPath, const ShellLinkFields& fields);
bool ReadShellLink(const std::string& linkPath, ShellLinkFields* fields);

bool FileExists(const std::string& path);

}  // namespace tw::win32test
