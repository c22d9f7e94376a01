// Stand-ins for the parts of the system that a test cannot use for real:
// each records what it was asked to do and answers as it is told.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "platform/process_launcher.h"
#include "platform/shell_links.h"
#include "platform/speech_engine.h"

namespace tw {

class RecordingLauncher : public ProcessLauncher {
 public:
  struct Started {
    std::string commandLine;
    std::uint32_t showCommand;
    bool waitedFor;
  };

  std::uint32_t Start(const char* commandLine, std::uint32_t showCommand) override;
  std::uint32_t RunToEnd(const char* commandLine, std::uint32_t showCommand, std::uint32_t* exitCode) override;
  // What a start would return, nothing recorded.
  std::uint32_t MayStart(const char*) override { return result; }

  std::uint32_t result = 33;  // what WinExec returns: 32 or more is a started program
  std::uint32_t exitCode = 0;  // of a program waited for
  std::vector<Started> started;
};

class ScriptedMessageBoxes : public MessageBoxes {
 public:
  struct Shown {
    std::uint32_t textId;
    std::string text;
    std::string caption;
    std::uint32_t flags;
  };

  // stringTable maps ids to texts; captionId names the caption's text.
  ScriptedMessageBoxes(std::map<std::uint32_t, std::string> stringTable, std::uint32_t captionId);

  void EnableThreeDimensionalLook() override { threeDimensional = true; }
  int Show(std::uint32_t textId, std::uint32_t flags) override;
  int ShowFormatted(std::uint32_t textId, std::uint32_t flags, int number, const char* text) override;
  bool DesktopVisible() override { return desktop; }

  // Answers handed out in order; when none is left, Yes for a Yes/No box and
  // OK for the others.
  std::deque<int> answers;
  std::vector<Shown> shown;
  bool threeDimensional = false;
  bool desktop = true;  // false: a process no one can answer a box in

 private:
  int Record(std::uint32_t textId, std::string text, std::uint32_t flags);

  std::map<std::uint32_t, std::string> stringTable_;
  std::uint32_t captionId_;
};

class RecordingShellLinks : public ShellLinks {
 public:
  struct LinkUpdate {
    std::string targetPath;
    std::string linkPath;
    std::string workingDirectory;
  };

  ComResult Update(const char* targetPath, const char* linkPath, const char* workingDirectory) override;
  // What the shortcut at linkPath holds: as last updated or as the test put it.
  ComResult Read(const char* linkPath, ShortcutTarget* target) override;
  ComResult MayUpdate(const char* linkPath) override;

  ComResult result = kSOk;
  std::vector<LinkUpdate> updates;
  std::map<std::string, ShortcutTarget> shortcuts;
  // Shortcuts that are not where their path says (a link, a second name):
  // refused for reading and writing, as the system's layer refuses them.
  std::set<std::string> refused;
  // Read-only shortcuts: read, but their update refused as Windows refuses
  // the save.
  std::set<std::string> readOnly;
  // Runs at the start of each update with its link path: what another process
  // does between the caller's check of the folder and this save.
  std::function<void(const std::string& linkPath)> beforeSave;
  // With files set, the folders are those on its disk: as the Win32 layer
  // reads and saves through the shortcut's folder held at that moment, a
  // read, an update or the question of one is refused when that folder, or
  // one above it, is a link then.
  FileSystem* files = nullptr;

 private:
  bool FolderIsLinked(const std::string& linkPath) const;
};

class RecordingSpeechEngine : public SpeechEngine {
 public:
  struct Call {
    WindowHandle window;
    InstanceHandle instance;
    std::string languageCode;
    std::string userName;
  };

  std::int32_t UninstallSpeechUser(WindowHandle window, InstanceHandle instance, const char* languageCode,
                                   const char* userName) override;
  // passedOver once the library was looked for, by a call or a check.
  std::string PassedOverLibrary() const override { return lookedFor ? passedOver : std::string(); }
  void CheckLibrary() override { lookedFor = true; }

  std::int32_t result = 0;
  std::vector<Call> calls;
  // The library the system's layer would pass over (none: empty).
  std::string passedOver;
  bool lookedFor = false;
  // With library set (a host path), the engine is that file as the Win32
  // layer takes it: opened and checked once, at the first call, and what is
  // loaded is read through the handle opened for the check, never by its
  // path again. betweenCheckAndLoad runs in between: what another process
  // does there. loaded holds the bytes loaded; no file there: no call made.
  std::optional<std::filesystem::path> library;
  std::function<void()> betweenCheckAndLoad;
  std::optional<std::string> loaded;

 private:
  bool bound_ = false;
};

}  // namespace tw
