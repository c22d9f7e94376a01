// Every service of the real system in one object, and the Platform view of
// them that the uninstaller runs on.
#pragma once

#include <cstdint>
#include <utility>

#include "platform/platform.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_message_boxes.h"
#include "platform/win32/win32_process_launcher.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_removal_lock.h"
#include "platform/win32/win32_shell_links.h"
#include "platform/win32/win32_speech_engine.h"
#include "platform/win32/win32_user_folders.h"

namespace tw {

class Win32Platform {
 public:
  // instance holds the string table; captionId names the message boxes'
  // caption; engineFolder is where the engine records its folder.
  Win32Platform(InstanceHandle instance, std::uint32_t captionId, EngineFolderValue engineFolder)
      : messages_(instance, captionId), engine_(registry_, std::move(engineFolder)) {}

  Platform View() { return Platform{registry_, files_, processes_, messages_, links_, engine_, codePage_, user_,
                                   lock_,     notes_}; }

 private:
  Win32Registry registry_;
  Win32FileSystem files_;
  Win32ProcessLauncher processes_;
  Win32MessageBoxes messages_;
  Win32ShellLinks links_;
  Win32SpeechEngine engine_;
  Win32CodePage codePage_;
  Win32UserFolders user_;
  Win32RemovalLock lock_;
  RunNotes notes_;  // a run without a log tells nobody
};

}  // namespace tw
