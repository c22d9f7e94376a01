// A portable platform that a fuzz input can run against many times over in
// one process: a fresh registry per input, one drive folder for the process.
#pragma once

#include <filesystem>

#include "app/uninstall_app.h"
#include "platform/portable/disk_file_system.h"
#include "platform/portable/memory_registry.h"
#include "platform/portable/recording_fakes.h"
#include "platform/portable/settable_code_page.h"

namespace tw::fuzz {

// The folder that stands for the drives, the same for every input of a process.
const std::filesystem::path& DrivesFolder();

struct FuzzPlatform {
  FuzzPlatform();
  Platform View() { return Platform{registry, files, processes, messages, links, engine, codePage}; }

  MemoryRegistry registry;
  DiskFileSystem files;
  RecordingLauncher processes;
  ScriptedMessageBoxes messages;
  RecordingShellLinks links;
  RecordingSpeechEngine engine;
  SettableCodePage codePage;
};

}  // namespace tw::fuzz
