#include "tests/support/win32/win32_test_services.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/portable/reg_file.h"
#include "platform/win32/wide_text.h"
#include "registry/enumeration.h"
#include "registry/layout.h"
#include "registry/scoped_key.h"
#include "tests/support/temp_folder.h"
#include "tests/support/win32/native_registry.h"

namespace tw::test {
namespace fs = std::filesystem;

bool ServicesRunCodePage(unsigned codePage) { return GetACP() == codePage; }

std::string FileNameOf(const fs::path& path) {
  const std::wstring name = path.filename().wstring();
  const int size = WideCharToMultiByte(CP_ACP, 0, name.c_str(), static_cast<int>(name.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, name.c_str(), static_cast<int>(name.size()), narrow.data(), size, nullptr, nullptr);
  return narrow;
}

const std::vector<std::string> kFamilyTraces{
    std::string("HKEY_LOCAL_MACHINE\\") + layout::kSoftware + "\\" + layout::kCompany,
    std::string("HKEY_LOCAL_MACHINE\\") + layout::kHelpRegistrations,
    std::string("HKEY_LOCAL_MACHINE\\") + layout::kAppPaths,
    std::string("HKEY_CURRENT_USER\\Software\\") + layout::kCompany,
    std::string("HKEY_CURRENT_USER\\") + layout::kShellFolders,
    "HKEY_CURRENT_USER\\AppEvents",  // the sound events' labels and schemes
};

namespace {

struct WatchedKey {
  RegKey root;
  const char* path;
  const char* fullPath;
};

constexpr WatchedKey kWatchedKeys[] = {
    {kHkeyLocalMachine, "", "HKEY_LOCAL_MACHINE"},
    {kHkeyLocalMachine, "SOFTWARE", "HKEY_LOCAL_MACHINE\\SOFTWARE"},
    {kHkeyCurrentUser, "", "HKEY_CURRENT_USER"},
    {kHkeyCurrentUser, "Software", "HKEY_CURRENT_USER\\Software"},
};

}  // namespace

Win32TestRegistry::Win32TestRegistry() {
  RemoveTrees(kFamilyTraces);
  topKeysBefore_ = TopKeys();
}

Win32TestRegistry::~Win32TestRegistry() {
  std::vector<std::string> added = kFamilyTraces;
  for (const std::string& key : TopKeys()) {
    if (topKeysBefore_.count(key) == 0) added.push_back(key);
  }
  RemoveTrees(added);
}

std::set<std::string> Win32TestRegistry::TopKeys() {
  std::set<std::string> keys;
  for (const WatchedKey& watched : kWatchedKeys) {
    ScopedKey key(*this, watched.root, std::string(watched.path), kKeyRead);
    for (const std::string& name : CollectSubkeyNames(*this, key.Handle(), layout::kKeyPathCapacity)) {
      keys.insert(std::string(watched.fullPath) + "\\" + name);
    }
  }
  return keys;
}

void Win32TestRegistry::RemoveTrees(const std::vector<std::string>& keyPaths) {
  std::string text = "REGEDIT4\n";
  for (const std::string& key : keyPaths) text += "[-" + key + "]\n";
  const auto error = ImportRegText(*this, text);
  EXPECT_FALSE(error.has_value()) << *error;
  handles_.clear();
}

Status Win32TestRegistry::OpenKey(RegKey parent, const char* subKey, AccessMask access, RegKey* result) {
  const Status status = Win32Registry::OpenKey(parent, subKey, access, result);
  if (status == kErrorSuccess) handles_.insert(*result);
  return status;
}

Status Win32TestRegistry::CreateKey(RegKey parent, const char* subKey, RegKey* result) {
  const Status status = Win32Registry::CreateKey(parent, subKey, result);
  if (status == kErrorSuccess) handles_.insert(*result);
  return status;
}

Status Win32TestRegistry::CloseKey(RegKey key) {
  handles_.erase(key);
  return Win32Registry::CloseKey(key);
}

Status Win32TestRegistry::CreateLink(RegKey parent, const std::string& name, RegKey targetRoot,
                                     const std::string& targetPath) {
  return NativeCreateLink(parent, name, targetRoot, targetPath);
}

Status Win32TestRegistry::CreateKeyNamed(RegKey parent, const std::string& name) {
  return NativeCreateKey(parent, name);
}

Status Win32TestRegistry::SetValueNamed(RegKey key, const std::string& name, ValueType type,
                                        const std::vector<std::uint8_t>& data) {
  return NativeSetValue(key, name, type, data);
}

void Win32TestRegistry::Protect(RegKey, const std::string& path) {
  ADD_FAILURE() << "protected keys exist on the portable registry only (" << path << "): mark the test TW_PORTABLE_ONLY()";
}

void Win32TestRegistry::SetBetweenCalls(std::function<void()>) {
  ADD_FAILURE() << "the hook between calls exists on the portable registry only: mark the test TW_PORTABLE_ONLY()";
}

Status Win32TestRegistry::RenameKey(RegKey, const char*, const std::string&) {
  ADD_FAILURE() << "renaming keys exists on the portable registry only: mark the test TW_PORTABLE_ONLY()";
  return kErrorAccessDenied;
}

Status Win32TestRegistry::StoreHiveFile(const std::string&, const std::string&) {
  ADD_FAILURE() << "hive files exist on the portable registry only: mark the test TW_PORTABLE_ONLY()";
  return kErrorAccessDenied;
}

void Win32TestRegistry::SetDeletesWholeTree(bool wholeTree) {
  // Windows deletes a key with subkeys never; that is the default here.
  if (wholeTree) ADD_FAILURE() << "whole-tree deletion exists on the portable registry only: mark the test TW_PORTABLE_ONLY()";
}

Win32TestFileSystem::Win32TestFileSystem(const fs::path&, const CodePage*) {}

FindHandle Win32TestFileSystem::FindFirst(const char* pattern, FindData* data) {
  const FindHandle search = Win32FileSystem::FindFirst(pattern, data);
  if (search != kInvalidFindHandle) searches_.insert(search);
  return search;
}

bool Win32TestFileSystem::FindClose(FindHandle search) {
  searches_.erase(search);
  return Win32FileSystem::FindClose(search);
}

std::optional<fs::path> Win32TestFileSystem::HostPath(const std::string& windowsPath) const {
  const bool drivePath = windowsPath.size() >= 3 && windowsPath[1] == ':' && windowsPath[2] == '\\';
  // In the active code page, as the program's 8-bit calls read it.
  if (!drivePath) return std::nullopt;
  const WideText wide = WidenFromActiveCodePage(windowsPath.c_str());
  return fs::path(std::wstring(wide.begin(), wide.end()));
}

namespace {

// The entries of the first two folder levels below root.
std::set<fs::path> ShallowEntries(const fs::path& root) {
  std::set<fs::path> entries;
  std::error_code error;
  for (const auto& top : fs::directory_iterator(root, error)) {
    entries.insert(top.path());
    if (!top.is_directory(error)) continue;
    for (const auto& second : fs::directory_iterator(top.path(), error)) entries.insert(second.path());
  }
  return entries;
}

}  // namespace

SystemDrives::SystemDrives() : before_(ShallowEntries(root_)) {}

SystemDrives::~SystemDrives() {
  for (const fs::path& entry : ShallowEntries(root_)) {
    if (before_.count(entry) == 0) RemoveTestTree(entry);
  }
}

}  // namespace tw::test
