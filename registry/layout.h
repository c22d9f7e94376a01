// Names of the family's registry tree and of the system keys the uninstaller
// changes, and the fixed buffer sizes the stored data was made for.
#pragma once

#include <cstdint>

namespace tw::layout {

// Paths are composed into buffers of this many characters, terminator included.
constexpr std::uint32_t kKeyPathCapacity = 256;
// File paths and most text values: MAX_PATH, terminator included.
constexpr std::uint32_t kPathCapacity = 260;

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
constexpr const char* kCounterFormat = "%sCtr";
constexpr const char* kFolderFormat = "%sFolder";
constexpr const char* kObjsFormat = "%sObjs";

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

}  // namespace tw::layout
