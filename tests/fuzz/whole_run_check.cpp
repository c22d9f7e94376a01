#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

#include "app/every_user.h"
#include "tests/support/other_users.h"
#include "tests/support/portable/reg_file.h"
#include "tests/fuzz/checks.h"
#include "registry/key_path.h"
#include "registry/layout.h"
#include "tests/support/fault_injection.h"
#include "tests/support/hostile_planting.h"
#include "tests/support/machine_states.h"
#include "tests/support/registry_probe.h"
#include "tests/support/scope_check.h"
#include "tests/support/test_platform.h"
#include "tests/support/user_folder_forms.h"

namespace tw::fuzz {
namespace fs = std::filesystem;
namespace {

constexpr const char* kProgramsDirectory = "C:\\users\\Me\\Start Menu\\Programs";
constexpr std::uint32_t kMostFilled = 1000;  // the registry finds a value by a linear search: keep inputs fast

// What the family's setups and the user's other programs leave on disk.
constexpr const char* kFiles[] = {
    "c/Users/Me/Start Menu/Programs/Talkwise/Begin Here.lnk",
    "c/Users/Me/Start Menu/Programs/Talkwise/General Reference.lnk",
    "c/Users/Me/Start Menu/Programs/Talkwise/Dictation.lnk",
    "c/Users/Me/Start Menu/Programs/Talkwise/Commands.lnk",
    "c/Users/Me/Start Menu/Programs/Talkwise/Extras/Readme.txt",
    "c/Users/Me/Start Menu/Programs/Accessories/Notepad.lnk",
    "c/Users/Me/Start Menu/Programs/Top.lnk",
    "c/Users/Me/Documents/letter.txt",
    "c/Users/Me/Start Menu/Startup.lnk",
    "c/Help/twc/twcus.hlp",
    "c/Help/twc/twcus.cnt",
    "c/Help/twlite/twlitus.hlp",
    "c/Help/twlite/twlitus.cnt",
    "c/Windows/notepad.exe",
};

void CreateFiles(const fs::path& root) {
  std::error_code error;
  for (const char* file : kFiles) {
    const fs::path path = root / file;
    fs::create_directories(path.parent_path(), error);
    std::ofstream(path, std::ios::binary) << file;
  }
  // A second name in the program folder of a read-only file outside the
  // programs directory: the attribute is that file's too.
  const fs::path letter = root / "c/Users/Me/Documents/letter.txt";
  fs::permissions(letter, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove, error);
  fs::create_hard_link(letter, root / "c/Users/Me/Start Menu/Programs/Talkwise/Letter.lnk", error);
}

// "@values <count> <HKLM\...>" and "@keys <count> <HKLM\...>".
void Fill(Registry& registry, const std::string& directive) {
  std::istringstream in(directive);
  std::string kind, keyPath;
  long long count = 0;
  in >> kind >> count;
  std::getline(in >> std::ws, keyPath);
  const auto slash = keyPath.find('\\');
  const auto root = RootByName(keyPath.substr(0, slash));
  if (!root || slash == std::string::npos || count <= 0) return;
  RegKey key = 0;
  if (registry.CreateKey(*root, keyPath.substr(slash + 1).c_str(), &key) != kErrorSuccess) return;
  const auto filled = static_cast<std::uint32_t>(std::min<long long>(count, kMostFilled));
  for (std::uint32_t i = 0; i < filled; ++i) {
    const std::string name = "Item" + std::to_string(i);
    if (kind == "@keys") {
      RegKey child = 0;
      if (registry.CreateKey(key, name.c_str(), &child) == kErrorSuccess) registry.CloseKey(child);
    } else {
      const std::uint8_t one[4] = {1, 0, 0, 0};
      registry.SetValue(key, name.c_str(), kRegDword, one, sizeof one);
    }
  }
  registry.CloseKey(key);
}

// Applies everything after the first line and sets the programs directory;
// returns the first line.
std::string BuildRegistry(Registry& registry, const std::string& input, const std::string& programs) {
  const auto newline = input.find('\n');
  std::string regText;
  std::vector<std::string> directives;
  std::istringstream lines(newline == std::string::npos ? std::string() : input.substr(newline + 1));
  for (std::string line; std::getline(lines, line);) {
    (line.rfind("@values ", 0) == 0 || line.rfind("@keys ", 0) == 0 ? directives.push_back(line)
                                                                     : void(regText += line + "\n"));
  }
  ImportRegText(registry, regText);  // a malformed line ends the import; what came before it stays
  for (const std::string& directive : directives) Fill(registry, directive);
  RegKey key = 0;
  if (registry.CreateKey(kHkeyCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                         &key) == kErrorSuccess) {
    registry.SetValue(key, "Programs", kRegSz, reinterpret_cast<const std::uint8_t*>(programs.c_str()),
                      static_cast<std::uint32_t>(programs.size() + 1));
    registry.CloseKey(key);
  }
  return input.substr(0, std::min(newline, input.size()));
}

// The preview of the run: nothing on disk or in the registry may change,
// nothing may start and the engine stays untouched. A log the command line
// asks for is the one thing it writes, so such inputs are not previewed.
void CheckPreview(test::TestPlatform& platform, const std::string& commandLine, const std::string& switches,
                  Problems* problems) {
  std::string folded = commandLine;
  std::transform(folded.begin(), folded.end(), folded.begin(), ::tolower);
  if (folded.find("/log") != std::string::npos) return;
  // A real drive C: holds the system's own folder: too big to image.
  std::vector<fs::path> excluded;
  if (!test::kPortablePlatform) excluded.push_back(platform.Host("C:\\windows"));
  const test::RegistryImage registryBefore = test::CaptureRegistry(platform.registry);
  const test::DiskImage diskBefore = test::CaptureDisk(platform.drives.Path(), excluded);
  platform.RunProgram("/preview " + switches + commandLine);
  if (test::CaptureRegistry(platform.registry) != registryBefore) problems->push_back("preview: the registry changed");
  for (std::string& change : test::DiskChanges(diskBefore, test::CaptureDisk(platform.drives.Path(), excluded))) {
    problems->push_back("preview: disk: " + change);
  }
  if (!platform.processes.started.empty() || !platform.engine.calls.empty() || !platform.links.updates.empty() ||
      !platform.messages.shown.empty()) {
    problems->push_back("preview: started, called, saved or showed something");
  }
}

// Now and then a second user, whose part an every-user run releases too: a
// copy of the running user's start menu and sound events, logged on or with
// his hive in a file, his programs directory in a drawn spelling too.
struct SecondUser {
  bool present = false;
  test::OtherUser user{"S-1-5-21-7-7-7-1001", "C:\\users\\Bob", true};
  test::UserFolderForms forms;
  // His hive file planted as a link to another file or given a second name:
  // never loaded, his part untouched.
  bool hivePlanted = false;
};

SecondUser AddSecondUser(test::TestPlatform& platform, std::mt19937_64& draws) {
  SecondUser second;
  second.present = test::kPortablePlatform && draws() % 3 == 0;
  if (!second.present) return second;
  const bool loggedOn = draws() % 2 == 0;
  second.forms = test::DrawUserFolderForms(second.user.ProgramsDirectory(), draws);
  const test::OtherUser& user = second.user;
  test::WriteText(platform.registry, kHkeyLocalMachine, std::string(layout::kProfileList) + "\\" + user.sid,
                  "ProfileImagePath", user.profile);
  test::WriteText(platform.registry, kHkeyUsers, test::UserKey(user, layout::kShellFolders), layout::kPrograms,
                  second.forms.programs);
  for (const char* event : {"Start Dictation US", "Stop Dictation US"}) {
    test::WriteText(platform.registry, kHkeyUsers, test::UserKey(user, "AppEvents\\EventLabels\\") + event, "", event);
    test::WriteText(platform.registry, kHkeyUsers,
                    test::UserKey(user, std::string(layout::kSoundScheme) + "\\" + event + "\\.Current"), "", "x.wav");
  }
  std::error_code error;
  const fs::path own = *platform.files.HostPath(std::string(kProgramsDirectory) + "\\Talkwise");
  const fs::path his = *platform.files.HostPath(user.ProgramsDirectory() + "\\Talkwise");
  fs::create_directories(his, error);
  fs::copy(own, his, fs::copy_options::recursive, error);
  // The drawn profile spelling, or his own profile where the draw leaves the whole drive.
  platform.user.profiles[second.user.sid] = second.forms.profile == "C:\\" ? second.user.profile : second.forms.profile;
  if (!loggedOn) {
    second.user.loggedOn = false;
    platform.WriteFile(second.user.HiveFile(), "hive");
    platform.registry.StoreHiveFile(second.user.sid, second.user.HiveFile());
    const std::uint64_t plant = draws() % 6;
    second.hivePlanted = plant < 2;
    if (second.hivePlanted) {
      platform.WriteFile("C:\\Elsewhere\\NTUSER.DAT", "another hive");
      const fs::path hive = platform.Host(second.user.HiveFile());
      const fs::path other = platform.Host("C:\\Elsewhere\\NTUSER.DAT");
      if (plant == 0) {
        fs::remove(hive, error);
        fs::create_symlink(other, hive, error);
      } else {
        fs::remove(other, error);
        fs::create_hard_link(hive, other, error);
      }
    }
  }
  return second;
}

}  // namespace

Problems CheckWholeRun(const std::uint8_t* data, std::size_t size) {
  Problems problems;
  test::TestPlatform platform;
  const std::string input(reinterpret_cast<const char*>(data), size);
  // Drawn apart from the plants below, so that those stay as older inputs had them.
  std::mt19937_64 folderDraws(std::hash<std::string>{}(input + "\nuser folders"));
  const test::UserFolderForms forms = test::DrawUserFolderForms(kProgramsDirectory, folderDraws);
  platform.user.profile = forms.profile;
  const std::string commandLine = BuildRegistry(platform.registry, input, kProgramsDirectory);
  const fs::path& drives = platform.drives.Path();
  CreateFiles(drives);
  // The second user copies the running user's start menu while it is where it is.
  const SecondUser second = AddSecondUser(platform, folderDraws);
  test::WriteText(platform.registry, kHkeyCurrentUser, layout::kShellFolders, layout::kPrograms, forms.programs);
  const std::string switches = second.present ? "/allusers " : "";
  // Links and names holding a NUL, planted by the input's own hash so that a
  // crash input replays. The system's registry under Wine could not be
  // cleared of NUL-named subkeys afterwards: only links and values there.
  std::mt19937_64 random(std::hash<std::string>{}(input));
  test::PlantHostileEntries(platform.registry, random, test::kPortablePlatform);
  // And one state that only asking the machine reveals (a file held open, a
  // read-only shortcut, a deep label key...), which the preview must meet too.
  const std::string language = test::Family("Install\\Languages\\EN_US");
  const test::PlantedState state = test::PlantMachineState(
      platform,
      {std::string(kProgramsDirectory) + "\\Talkwise", language + "\\ProdTWCObjs", language + "\\Folders\\Talkwise",
       "AppEvents\\EventLabels\\Start Dictation US"},
      random);
  const fs::path programs = *platform.files.HostPath(kProgramsDirectory);
  std::vector<fs::path> startMenus = {programs};
  if (second.present) startMenus.push_back(*platform.files.HostPath(second.user.ProgramsDirectory()));
  const test::RegistryImage registryBefore = test::CaptureRegistry(platform.registry);
  const test::DiskImage diskBefore = test::CaptureDisk(drives, startMenus);
  const test::DiskImage programsBefore = test::CaptureDisk(programs);
  const test::DiskImage secondBefore = second.present ? test::CaptureDisk(startMenus.back()) : test::DiskImage();
  CheckPreview(platform, commandLine, switches, &problems);

  // A kill point drawn from the input: the run dies at that call (no later
  // one reaches the machine) and is run again to its end.
  const std::uint64_t killAt = random() % 2 ? 1 + random() % 600 : 0;
  if (killAt) {
    test::FaultSchedule schedule(killAt, kErrorAccessDenied, true);
    test::FaultyRegistry registry(platform.registry, schedule);
    test::FaultyFileSystem files(platform.files, schedule);
    const EveryUserRun killed(platform.View().With(registry).With(files), registry, second.present, true);
    UninstallApp(killed.View(), commandLine, test::TestPlatform::kInstance).RunUninstall();
    platform.processes.started.clear();
  }
  const EveryUserRun everyUser(platform.View(), platform.registry, second.present, true);
  UninstallApp app(everyUser.View(), commandLine, test::TestPlatform::kInstance);
  app.RunUninstall();

  for (std::string& change : test::RegistryChangesOutsideScope(registryBefore, test::CaptureRegistry(platform.registry),
                                                               app.LanguageCode())) {
    problems.push_back("registry: " + change);
  }
  for (std::string& change : test::DiskChanges(diskBefore, test::CaptureDisk(drives, startMenus))) {
    problems.push_back("disk: " + change);
  }
  if (second.present && (second.forms.refused || second.hivePlanted)) {
    for (std::string& change : test::DiskChanges(secondBefore, test::CaptureDisk(startMenus.back()))) {
      problems.push_back("disk below the second user's programs directory " + second.forms.programs +
                         (second.hivePlanted ? ", his hive file planted" : ", refused") + ": " + change);
    }
  }
  if (second.present) {
    RegKey left = 0;
    if (platform.registry.OpenKey(kHkeyUsers, LoadedHiveKey(second.user.sid).c_str(), kKeyRead, &left) == kErrorSuccess) {
      platform.registry.CloseKey(left);
      problems.push_back("the second user's hive left loaded");
    }
  }
  if (forms.refused) {
    for (std::string& change : test::DiskChanges(programsBefore, test::CaptureDisk(programs))) {
      problems.push_back("disk below the refused programs directory " + forms.programs + " (profile " + forms.profile +
                         "): " + change);
    }
  }
  std::error_code error;
  if (!fs::is_directory(programs, error)) problems.push_back("disk: the programs directory itself was removed");
  if (platform.registry.OpenHandleCount() != 0) problems.push_back("registry handles left open");
  if (platform.files.OpenSearchCount() != 0) problems.push_back("file searches left open");
  if (platform.processes.started.size() > 1) problems.push_back("more than one uninstaller started");

  // Repeated once the product has no install left for the language: nothing changes.
  const auto installs = test::ValueBytes(platform.registry, kHkeyLocalMachine,
                                         LanguageKeyPath(app.LanguageCode()).value_or(""), app.ProductCode() + "Ctr");
  if (random() % 2 && !app.ProductCode().empty() && (!installs || installs->size() > 4)) {
    const test::RegistryImage registryAfter = test::CaptureRegistry(platform.registry);
    const test::DiskImage diskAfter = test::CaptureDisk(drives);
    const std::size_t engineCalls = platform.engine.calls.size();
    UninstallApp(platform.View(), commandLine, test::TestPlatform::kInstance).RunUninstall();
    if (test::CaptureRegistry(platform.registry) != registryAfter) problems.push_back("repeat: the registry changed");
    if (platform.engine.calls.size() != engineCalls) problems.push_back("repeat: the engine library was called");
    for (std::string& change : test::DiskChanges(diskAfter, test::CaptureDisk(drives))) {
      problems.push_back("repeat: disk: " + change);
    }
  }
  return problems;
}

}  // namespace tw::fuzz
