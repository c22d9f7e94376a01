// Names of the family's registry tree and of the system keys the uninstaller
// changes, and the fixed buffer sizes the stored data was made for.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace tw::layout {

// Paths are composed into buffers of this many characters, terminator included.
constexpr std::uint32_t kKeyPathCapacity = 256;
// File paths and most text values: MAX_PATH, terminator included.
constexpr std::uint32_t kPathCapacity = 260;
// The buffers the stored names and data are read into; what does not fit is
// not read (see ScopedKey::ReadText and the enumerations).
constexpr std::uint32_t kCounterBytes = 4;
constexpr std::uint32_t kComponentListCapacity = 256;
constexpr std::uint32_t kComponentNameCapacity = 50;
constexpr std::uint32_t kShortcutNameCapacity = 260;
constexpr std::uint32_t kRegistrationNameCapacity = 256;
constexpr std::uint32_t kEngineUserCapacity = 20;
constexpr std::uint32_t kEngineReleaseCapacity = 11;
constexpr std::uint32_t kFlagCapacity = 1;
constexpr std::uint32_t kPresenceCapacity = 249;
constexpr std::uint32_t kControlReleaseCapacity = 249;

constexpr const char* kSoftware = "SOFTWARE";
constexpr const char* kCompany = "Corvane";
constexpr const char* kFamily = "Talkwise";

constexpr const char* kControl = "Control";
constexpr const char* kDictation = "Dictation";
constexpr const char* kEnroll = "Enroll";
constexpr const char* kHelp = "Help";
constexpr const char* kEngine = "Engine";
constexpr const char* kAudio = "Audio";
constexpr const char* kInstall = "Install";

// Deleted in this order when the last product of the family goes.
constexpr const char* kAllComponents[] = {kControl, kDictation, kEnroll, kHelp, kEngine, kAudio, kInstall};

// The uninstall ledger's key, a sibling of the components: the full removal leaves it.
constexpr const char* kUninstall = "Uninstall";

constexpr const char* kCounters = "Counters";
constexpr const char* kLanguages = "Languages";
constexpr const char* kDirectories = "Directories";
constexpr const char* kVersion = "Version";
constexpr const char* kFolders = "Folders";

constexpr const char* kProductCtr = "ProductCtr";
constexpr const char* kUsageCtr = "UsageCtr";
constexpr const char* kRelease = "Release";
constexpr const char* kHelpDirectory = "Help";
constexpr const char* kBin = "Bin";
constexpr const char* kNavData = "NavData";
constexpr const char* kDictData = "DictData";
constexpr const char* kFolderName = "FolderName";
constexpr const char* kProdTWDList = "ProdTWDList";
constexpr const char* kSwapBeginHere = "SwapBeginHere";
constexpr const char* kSwapGenRef = "SwapGenRef";
// Appended to a product code or data set: "<product>Ctr", "<product>Folder", "<product>Objs".
constexpr const char* kCounterSuffix = "Ctr";
constexpr const char* kFolderSuffix = "Folder";
constexpr const char* kObjsSuffix = "Objs";

constexpr const char* kProdTWD = "ProdTWD";
constexpr const char* kProdTWDLite = "ProdTWDLite";
constexpr const char* kProdTWC = "ProdTWC";
constexpr const char* kProdRun = "ProdRun";
constexpr const char* kProdRunControlFolder = "ProdRunControlFolder";
constexpr const char* kProdRunDictateFolder = "ProdRunDictateFolder";

// System keys (HKEY_LOCAL_MACHINE unless noted).
constexpr const char* kHelpRegistrations = "SOFTWARE\\Microsoft\\Windows\\Help";
constexpr const char* kAppPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr const char* kAppPathValue = "Path";
// HKEY_CURRENT_USER
constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kPrograms = "Programs";
constexpr const char* kSoundScheme = "AppEvents\\Schemes\\Apps\\Talkwise";
constexpr const char* kEventLabels = "AppEvents\\EventLabels";
// The machine's user profiles: one key per SID, its "ProfileImagePath" the
// profile folder holding the user's hive file.
constexpr const char* kProfileList = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
constexpr const char* kProfileHiveFile = "NTUSER.DAT";

// Every key tree of the machine a removal reads or changes, and below them
// those of each user's hive: all a preview reads from the machine (a key
// elsewhere is not there for it), so a step that reaches another tree adds
// it here.
struct KeyTreeName {
  RegKey root;
  const char* path;
};
inline constexpr KeyTreeName kMachineKeyTrees[] = {
    {kHkeyLocalMachine, kHelpRegistrations},
    {kHkeyLocalMachine, kAppPaths},
    {kHkeyLocalMachine, "SOFTWARE\\Corvane\\Talkwise"},  // kSoftware, kCompany, kFamily
    {kHkeyLocalMachine, kProfileList},
};
// In HKEY_CURRENT_USER, and below each hive's key in HKEY_USERS.
inline constexpr const char* kUserKeyTrees[] = {kShellFolders, kEventLabels, kSoundScheme};

}  // namespace tw::layout
