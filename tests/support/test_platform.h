// A complete platform for one test: an empty in-memory registry, a fresh
// folder on disk for the drives, and recording fakes. In the Windows build the
// registry and the drives are the system's, cleared of the family's traces
// before and after the test.
#pragma once

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "app/uninstall_app.h"
#include "platform/log_file.h"
#include "tests/support/portable/portable_removal_lock.h"
#include "tests/support/portable/recording_fakes.h"
#include "tests/support/portable/settable_code_page.h"
#include "tests/support/portable/stream_standard_output.h"
#include "tests/support/test_services.h"

namespace tw::test {

class TestPlatform {
 public:
  TestPlatform();

  Platform View();
  // Applies .reg text; fails the test on a malformed one.
  void LoadRegText(const std::string& text);
  // Applies tests/fixtures/<name>.
  void LoadFixture(const std::string& name);
  // The family tree and every system key the uninstaller changes, as .reg text.
  std::string Snapshot();
  // Creates a file (and its folders) at a Windows path.
  void WriteFile(const std::string& windowsPath, const std::string& content = "");
  // Creates a folder (and those above it) at a Windows path.
  void MakeFolder(const std::string& windowsPath);
  bool Exists(const std::string& windowsPath) const;
  std::filesystem::path Host(const std::string& windowsPath) const;

  // Runs the whole program with this command line (the confirmation is
  // answered Yes unless answers were scripted).
  void Run(const std::string& commandLine);
  std::unique_ptr<UninstallApp> MakeApp(const std::string& commandLine);
  // Runs the program as its entry does, switches and all, with a log file of
  // the test's drives; returns the exit code.
  int RunProgram(const std::string& commandLine);
  // The same with every registry call going through registry (a decorator of
  // this platform's).
  int RunProgram(const std::string& commandLine, Registry& registry);
  // The same with the log written to log.
  int RunProgram(const std::string& commandLine, Registry& registry, LogFile& log);
  // The same on another view of this platform (decorators of its services),
  // the log on this platform's drives.
  int RunProgram(const std::string& commandLine, const Platform& view);
  // The text of a file at a Windows path ("" when there is none).
  std::string ReadFile(const std::string& windowsPath) const;

  static constexpr InstanceHandle kInstance = 0x400000;

  TestDrives drives;
  SettableCodePage codePage;  // before the services that read names in it
  TestRegistry registry;
  TestFileSystem files;
  RecordingLauncher processes;
  ScriptedMessageBoxes messages;
  RecordingShellLinks links;  // its folders those of files
  RecordingSpeechEngine engine;
  // The profile is all of drive C: unless a test sets a narrower one.
  TestUserFolders user{files, drives.Path()};
  // The machine's removal lock, which other "processes" of the test can
  // hold too (a PortableRemovalLock of lockMachine), on Windows as well.
  std::shared_ptr<RemovalMachine> lockMachine = std::make_shared<RemovalMachine>();
  PortableRemovalLock lock{lockMachine};
  RunNotes notes;  // the journal's, when RunProgram writes a log
  std::ostringstream standardOutput;  // of RunProgram
};

std::string ReadFixture(const std::string& name);

}  // namespace tw::test
