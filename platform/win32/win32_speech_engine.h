// The speech engine's control-panel library spchcfg.cpl, bound on first use.
// The program runs elevated, often from a folder the user can write to: the
// library is taken only by its full path from the engine's own folder, as
// the machine-wide registry records it, or from the system folder; never
// from the program's folder, the current directory or PATH.
#pragma once

#include <string>

#include "platform/registry.h"
#include "platform/speech_engine.h"

namespace tw {

// Where the engine records its folder: a text value under HKEY_LOCAL_MACHINE.
struct EngineFolderValue {
  std::string keyPath;
  std::string valueName;
};

class Win32SpeechEngine : public SpeechEngine {
 public:
  Win32SpeechEngine(Registry& registry, EngineFolderValue engineFolder)
      : registry_(registry), engineFolder_(std::move(engineFolder)) {}

  std::int32_t UninstallSpeechUser(WindowHandle window, InstanceHandle instance, const char* languageCode,
                                   const char* userName) override;

 private:
  // The export as GetProcAddress gives it; its real signature lives beside
  // the call, with the Win32 types.
  using ExportedFunction = void (*)();

  void Bind();
  // <engine folder>\spchcfg.cpl when the recorded folder is a plain absolute
  // local path; empty otherwise.
  std::string LibraryInEngineFolder();

  Registry& registry_;
  EngineFolderValue engineFolder_;
  bool bound_ = false;
  ExportedFunction uninstallSpeechUser_ = nullptr;
};

}  // namespace tw
