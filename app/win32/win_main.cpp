// The program's entry: no window of its own; the whole run happens inside
// RunProgram, whose result is the process's exit code.
#include <windows.h>

#include "app/message_ids.h"
#include "app/program_run.h"
#include "platform/win32/library_search.h"
#include "platform/win32/win32_log_file.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_standard_output.h"
#include "registry/key_path.h"
#include "registry/layout.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  tw::SearchLibrariesInSystemFolderOnly();
  const auto instanceHandle = reinterpret_cast<tw::InstanceHandle>(instance);
  static tw::Win32Platform platform(
      instanceHandle, IDS_APP_TITLE,
      {tw::FamilyPath({tw::layout::kEngine, tw::layout::kDirectories}).value_or(""), tw::layout::kBin});
  static tw::Win32LogFile log;
  static tw::Win32StandardOutput output;
  return tw::RunProgram(platform.View(), log, output, commandLine != nullptr ? commandLine : "", instanceHandle);
}
