// The overlay of a preview over the machine's services: the registry copied
// from the machine's scratch key, the files read from the machine's folder.
#include <cstdlib>
#include <string>

#include "platform/overlay/overlay_file_system.h"
#include "platform/overlay/overlay_registry.h"
#include "tests/contract/memory_registry_world.h"

namespace tw::contract {
namespace {

class OverlayWorld : public MemoryRegistryWorld {
 public:
  explicit OverlayWorld(std::unique_ptr<ContractWorld> machine)
      : machine_(std::move(machine)),
        registry_(machine_->registry(), machine_->ActiveCodePage(), {{kHkeyCurrentUser, machine_->ScratchKey()}}),
        files_(machine_->files(), machine_->ActiveCodePage()) {}

  FileSystem& files() override { return files_; }
  UserFolders& userFolders() override { return machine_->userFolders(); }  // only reads
  const CodePage* CodePageFor(unsigned codePage, std::string* whyNot) override {
    return machine_->CodePageFor(codePage, whyNot);
  }
  const CodePage& ActiveCodePage() override { return machine_->ActiveCodePage(); }
  std::unique_ptr<LogFile> MakeLogFile() override { return machine_->MakeLogFile(); }
  // A preview takes the machine's lock through PreviewRemovalLock; the lock itself is the machine's.
  std::unique_ptr<RemovalLock> MakeRemovalLock() override { return machine_->MakeRemovalLock(); }
  std::unique_ptr<OtherLockHolder> HoldRemovalLockElsewhere() override { return machine_->HoldRemovalLockElsewhere(); }
  bool SquatRemovalLock() override { return machine_->SquatRemovalLock(); }
  const std::string& ScratchKey() const override { return machine_->ScratchKey(); }
  const std::string& ScratchFolder() const override { return machine_->ScratchFolder(); }
  std::filesystem::path Host(const std::string& windowsPath) const override { return machine_->Host(windowsPath); }

 protected:
  MemoryRegistry& memoryRegistry() override { return registry_.Store(); }

 private:
  std::unique_ptr<ContractWorld> machine_;
  OverlayRegistry registry_;
  OverlayFileSystem files_;
};

}  // namespace

std::unique_ptr<ContractWorld> MakeContractWorld() {
  const char* world = std::getenv("TW_CONTRACT_WORLD");
  if (world != nullptr && std::string(world) == "overlay") return std::make_unique<OverlayWorld>(MakeMachineWorld());
  return MakeMachineWorld();
}

}  // namespace tw::contract
