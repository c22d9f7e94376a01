// The Win32 registry and file system for the tests that run under Wine, with
// the handle and search counts the tests check, and the system's drive C:
// kept clear of what a test leaves there.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_user_folders.h"

namespace tw::test {

// The family's tree and the system keys it registers itself in; cleared
// before and after every test.
extern const std::vector<std::string> kFamilyTraces;

class Win32TestRegistry : public Win32Registry {
 public:
  Win32TestRegistry();
  ~Win32TestRegistry() override;

  Status OpenKey(RegKey parent, const char* subKey, AccessMask access, RegKey* result) override;
  Status CreateKey(RegKey parent, const char* subKey, RegKey* result) override;
  Status CloseKey(RegKey key) override;
  std::size_t OpenHandleCount() const { return handles_.size(); }

  // What only the native calls make, as the portable registry offers it.
  Status CreateLink(RegKey parent, const std::string& name, RegKey targetRoot, const std::string& targetPath);
  Status CreateKeyNamed(RegKey parent, const std::string& name);
  Status SetValueNamed(RegKey key, const std::string& name, ValueType type, const std::vector<std::uint8_t>& data);

  // The portable registry's test switches; tests that use them are marked
  // TW_PORTABLE_ONLY() and never get here.
  void Protect(RegKey root, const std::string& path);
  void SetDeletesWholeTree(bool wholeTree);
  void SetBetweenCalls(std::function<void()> hook);
  Status RenameKey(RegKey key, const char* subKey, const std::string& newName);
  Status StoreHiveFile(const std::string& name, const std::string& filePath);

 private:
  // The keys below the roots and their software keys, where tests make
  // their own trees.
  std::set<std::string> TopKeys();
  void RemoveTrees(const std::vector<std::string>& keyPaths);

  std::set<std::string> topKeysBefore_;
  std::set<RegKey> handles_;
};

class Win32TestFileSystem : public Win32FileSystem {
 public:
  // The drives are the system's own; root names drive C:. The code page is
  // the system's active one whatever the test sets.
  explicit Win32TestFileSystem(const std::filesystem::path& root, const CodePage* codePage = nullptr);

  FindHandle FindFirst(const char* pattern, FindData* data) override;
  bool FindClose(FindHandle search) override;
  std::size_t OpenSearchCount() const { return searches_.size(); }
  // Windows paths are host paths here; only absolute drive paths are taken.
  std::optional<std::filesystem::path> HostPath(const std::string& windowsPath) const;

 private:
  std::set<FindHandle> searches_;
};

// The system's final paths and rights; the profile folders (the running
// user's and others' by SID) and whether the user's rights are held are the
// test's, as on the portable platform.
class Win32TestUserFolders : public Win32UserFolders {
 public:
  Win32TestUserFolders(const Win32TestFileSystem&, const std::filesystem::path&) {}

  std::optional<std::string> ProfileFolder() override {
    if (entered_.empty()) return profile ? FinalFolderPath(*profile) : std::nullopt;
    const auto other = profiles.find(entered_);
    return other != profiles.end() ? FinalFolderPath(other->second) : std::nullopt;
  }
  bool UserRightsHeld() override { return (!entered_.empty() || rightsHeld) && Win32UserFolders::UserRightsHeld(); }
  // The test's SID, or the system's answer.
  std::string AccountSid() override { return sid ? *sid : Win32UserFolders::AccountSid(); }
  void Enter(const UserAccount& account) override {
    entered_ = account.sid;
    Win32UserFolders::Enter(account);
  }
  void Refused(const std::string& folder, const std::string& reason) override {
    refused.push_back(folder + ": " + reason);
  }

  std::optional<std::string> profile;
  std::map<std::string, std::string> profiles;  // another user's SID -> profile folder
  std::optional<std::string> sid;
  bool rightsHeld = true;
  std::vector<std::string> refused;

 private:
  std::string entered_;
};

// Drive C: as the test found it: whatever a test adds in its first two folder
// levels is removed afterwards.
class SystemDrives {
 public:
  SystemDrives();
  ~SystemDrives();
  SystemDrives(const SystemDrives&) = delete;
  SystemDrives& operator=(const SystemDrives&) = delete;
  const std::filesystem::path& Path() const { return root_; }

 private:
  std::filesystem::path root_{"C:\\"};
  std::set<std::filesystem::path> before_;
};

}  // namespace tw::test
