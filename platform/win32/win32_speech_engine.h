// The speech engine's control-panel library spchcfg.cpl, bound on first use.
// The program runs elevated, often from a folder the user can write to: the
// library is taken from the system folder, or else by its full path from the
// engine's own folder as the machine-wide registry records it, and only when
// ordinary users can change neither (loaded from a private copy of what was
// checked); never from the program's folder, the current directory or PATH.
#pragma once

#include <memory>
#include <string>

#include "platform/registry.h"
#include "platform/speech_engine.h"

namespace tw {

// Where the engine records its folder: a text value under HKEY_LOCAL_MACHINE.
class LibraryCopy;

struct EngineFolderValue {
  std::string keyPath;
  std::string valueName;
};

class Win32SpeechEngine : public SpeechEngine {
 public:
  Win32SpeechEngine(Registry& registry, EngineFolderValue engineFolder);
  ~Win32SpeechEngine() override;

  std::int32_t UninstallSpeechUser(WindowHandle window, InstanceHandle instance, const char* languageCode,
                                   const char* userName) override;
  std::string PassedOverLibrary() const override { return passedOver_; }
  void CheckLibrary() override;

 private:
  // The export as GetProcAddress gives it; its real signature lives beside
  // the call, with the Win32 types.
  using ExportedFunction = void (*)();

  void Bind();
  // The library at path opened for reading (a HANDLE), when neither it nor
  // its folder can be changed by anyone but the machine's administrators;
  // otherwise null, and passed over when it is there.
  void* OpenFromEngineFolder(const std::string& path);
  // That library loaded from a copy of the file so checked.
  void* LoadFromEngineFolder(const std::string& path);
  // <engine folder>\spchcfg.cpl when the recorded folder is a plain absolute
  // local path; empty otherwise.
  std::string LibraryInEngineFolder();

  Registry& registry_;
  EngineFolderValue engineFolder_;
  bool bound_ = false;
  bool checked_ = false;
  ExportedFunction uninstallSpeechUser_ = nullptr;
  std::string passedOver_;
  std::unique_ptr<LibraryCopy> copy_;  // the engine folder's library, as loaded
};

}  // namespace tw
