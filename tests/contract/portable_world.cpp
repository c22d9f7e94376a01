// The portable implementation: the in-memory registry, a temporary folder
// standing for the drives, and a code page set by the test.
#include <stdexcept>

#include "tests/support/portable/disk_file_system.h"
#include "tests/support/portable/disk_log_file.h"
#include "tests/support/portable/disk_user_folders.h"
#include "tests/support/portable/memory_registry_controls.h"
#include "tests/support/portable/portable_removal_lock.h"
#include "platform/memory/memory_registry.h"
#include "tests/support/portable/settable_code_page.h"
#include "tests/contract/memory_registry_world.h"
#include "tests/support/temp_folder.h"

namespace tw::contract {
namespace {

// Another process's lock of the same machine: what it does during a wait,
// the fake's hook does.
class PortableHolder : public OtherLockHolder {
 public:
  explicit PortableHolder(std::shared_ptr<test::RemovalMachine> machine)
      : machine_(machine), lock_(machine), taken_(lock_.Take(0)) {}
  ~PortableHolder() override {
    machine_->whileWaiting = nullptr;
    lock_.Give();
  }
  RemovalLock::Taken Taken() const override { return taken_; }
  void GiveDuringAWait(std::uint32_t) override {
    machine_->whileWaiting = [this](std::uint32_t) { lock_.Give(); };
  }
  void AbandonDuringAWait(std::uint32_t) override {
    machine_->whileWaiting = [this](std::uint32_t) { lock_.Abandon(); };
  }

 private:
  std::shared_ptr<test::RemovalMachine> machine_;
  test::PortableRemovalLock lock_;
  RemovalLock::Taken taken_;
};

class PortableWorld : public MemoryRegistryWorld {
 public:
  PortableWorld()
      : registry_(codePage_),
        files_(drives_.Path(), &codePage_),
        scratchKey_("Software\\TwContract\\" + ScratchName("")),
        scratchFolder_("C:\\" + ScratchName("twcontract-")) {
    RegKey key = 0;
    if (registry_.CreateKey(kHkeyCurrentUser, scratchKey_.c_str(), &key) != kErrorSuccess) {
      throw std::runtime_error("cannot create the scratch key");
    }
    registry_.CloseKey(key);
    std::filesystem::create_directories(Host(scratchFolder_));
  }

  FileSystem& files() override { return files_; }
  UserFolders& userFolders() override { return user_; }
  const CodePage* CodePageFor(unsigned codePage, std::string*) override {
    codePage_.Set(codePage);
    return &codePage_;
  }
  const CodePage& ActiveCodePage() override { return codePage_; }
  std::unique_ptr<LogFile> MakeLogFile() override { return std::make_unique<DiskLogFile>(files_); }
  std::unique_ptr<RemovalLock> MakeRemovalLock() override {
    return std::make_unique<test::PortableRemovalLock>(lockMachine_);
  }
  std::unique_ptr<OtherLockHolder> HoldRemovalLockElsewhere() override {
    return std::make_unique<PortableHolder>(lockMachine_);
  }
  bool SquatRemovalLock() override {
    lockMachine_->squatted = true;
    return true;
  }
  const std::string& ScratchKey() const override { return scratchKey_; }
  const std::string& ScratchFolder() const override { return scratchFolder_; }
  std::filesystem::path Host(const std::string& windowsPath) const override {
    auto host = files_.HostPath(windowsPath);
    if (!host) throw std::invalid_argument("not an absolute drive path: " + windowsPath);
    return *host;
  }

  bool MakeHiveFile(const std::string& windowsPath, std::string*) override {
    RegKey hive = 0;
    RegKey sub = 0;
    const std::uint8_t one[] = {'1', 0};
    const bool made = registry_.CreateKey(kHkeyUsers, "hive-to-be", &hive) == kErrorSuccess &&
                      registry_.SetValue(hive, "kept", kRegSz, one, sizeof one) == kErrorSuccess &&
                      registry_.CreateKey(hive, "Sub", &sub) == kErrorSuccess;
    registry_.CloseKey(sub);
    registry_.CloseKey(hive);
    return made && test::MemoryRegistryControls(registry_).StoreHiveFile("hive-to-be", windowsPath) == kErrorSuccess;
  }

 protected:
  MemoryRegistry& memoryRegistry() override { return registry_; }

 private:
  test::TempFolder drives_;
  SettableCodePage codePage_;  // before the services that read names in it
  MemoryRegistry registry_;
  DiskFileSystem files_;
  DiskUserFolders user_{files_, drives_.Path()};
  std::shared_ptr<test::RemovalMachine> lockMachine_ = std::make_shared<test::RemovalMachine>();
  std::string scratchKey_;
  std::string scratchFolder_;
};

}  // namespace

std::unique_ptr<ContractWorld> MakeMachineWorld() { return std::make_unique<PortableWorld>(); }

}  // namespace tw::contract
