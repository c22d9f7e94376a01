// Everything the uninstaller reaches outside its own memory.
#pragma once

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "platform/process_launcher.h"
#include "platform/registry.h"
#include "platform/removal_lock.h"
#include "platform/run_notes.h"
#include "platform/shell_links.h"
#include "platform/speech_engine.h"
#include "platform/user_folders.h"

namespace tw {

struct Platform {
  Registry& registry;
  FileSystem& files;
  ProcessLauncher& processes;
  MessageBoxes& messages;
  ShellLinks& links;
  SpeechEngine& engine;
  const CodePage& codePage;
  UserFolders& user;
  RemovalLock& lock;
  RunNotes& notes;
};

}  // namespace tw
