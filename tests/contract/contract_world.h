// What the contract tests need from one implementation of the platform: the
// services under test, a private registry key and a private folder that are
// removed afterwards, and a way to make files behind the services' back.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/log_file.h"
#include "platform/registry.h"
#include "platform/removal_lock.h"
#include "platform/user_folders.h"

namespace tw::contract {

// The machine's removal lock held by someone else: another process's in the
// portable world, another thread's for Win32 (a mutex is a thread's).
class OtherLockHolder {
 public:
  virtual ~OtherLockHolder() = default;
  // What its Take(0) gave.
  virtual RemovalLock::Taken Taken() const = 0;
  // Once a Take of this process has waited about waitMilliseconds, it gives
  // the lock back, or ends without giving it back (abandoned).
  virtual void GiveDuringAWait(std::uint32_t waitMilliseconds) = 0;
  virtual void AbandonDuringAWait(std::uint32_t waitMilliseconds) = 0;
};

class ContractWorld {
 public:
  virtual ~ContractWorld() = default;

  virtual Registry& registry() = 0;
  virtual FileSystem& files() = 0;
  virtual UserFolders& userFolders() = 0;
  // The code page under test when the implementation can show that one, or
  // null together with the reason why it cannot.
  virtual const CodePage* CodePageFor(unsigned codePage, std::string* whyNot) = 0;
  // The code page the services use now.
  virtual const CodePage& ActiveCodePage() = 0;
  // A log file, closed, whose paths are those of files().
  virtual std::unique_ptr<LogFile> MakeLogFile() = 0;

  // What the 8-bit calls cannot make: a registry link at parent\name to
  // targetRoot\targetPath, and keys and values whose names are taken whole,
  // NUL characters included. DeleteKeyNamed never follows a link.
  virtual Status CreateLink(RegKey parent, const std::string& name, RegKey targetRoot,
                            const std::string& targetPath) = 0;
  virtual Status CreateKeyNamed(RegKey parent, const std::string& name) = 0;
  virtual Status SetValueNamed(RegKey key, const std::string& name, ValueType type,
                               const std::vector<std::uint8_t>& data) = 0;
  virtual Status DeleteKeyNamed(RegKey parent, const std::string& name) = 0;

  // A hive file at the Windows path holding the value "kept" and the subkey
  // "Sub", as a logged-off user's NTUSER.DAT is; false, with the reason, in a
  // world that loads no hives (a preview's overlay reaches none).
  virtual bool MakeHiveFile(const std::string& /*windowsPath*/, std::string* whyNot) {
    *whyNot = "this world loads no hives";
    return false;
  }

  // The machine's removal lock as a run of this process takes it.
  virtual std::unique_ptr<RemovalLock> MakeRemovalLock() = 0;
  virtual std::unique_ptr<OtherLockHolder> HoldRemovalLockElsewhere() = 0;
  // The lock's name made first by an ordinary user, as far as this world has
  // such a name; true when the lock cannot then be had (it fails closed),
  // false when the user's name is not the lock's (a private namespace).
  virtual bool SquatRemovalLock() = 0;

  // A key below HKEY_CURRENT_USER that exists for this world only.
  virtual const std::string& ScratchKey() const = 0;
  // An absolute Windows path ("C:\...") of an empty folder that exists for
  // this world only; its drive's root is where it lives.
  virtual const std::string& ScratchFolder() const = 0;
  // Where a Windows path of this world is reached with std::filesystem.
  virtual std::filesystem::path Host(const std::string& windowsPath) const = 0;
};

// The system's own services (the portable ones natively, the Win32 ones for
// Windows).
std::unique_ptr<ContractWorld> MakeMachineWorld();
// The world under test: the machine's, or with TW_CONTRACT_WORLD=overlay a
// preview's overlay of it.
std::unique_ptr<ContractWorld> MakeContractWorld();

// A fresh name for a scratch key or folder, so that runs never meet.
std::string ScratchName(const std::string& prefix);

}  // namespace tw::contract
