// The overlay of a preview over the machine's services: the registry copied
// from the machine's scratch key, the files read from the machine's folder.
#include <cstdlib>
#include <string>

#include "platform/overlay/overlay_file_system.h"
#include "platform/overlay/overlay_registry.h"
#include "tests/contract/contract_world.h"

namespace tw::contract {
namespace {

class OverlayWorld : public ContractWorld {
 public:
  explicit OverlayWorld(std::unique_ptr<ContractWorld> machine)
      : machine_(std::move(machine)),
        registry_(machine_->registry(), {{kHkeyCurrentUser, machine_->ScratchKey()}}),
        files_(machine_->files()) {}

  Registry& registry() override { return registry_; }
  FileSystem& files() override { return files_; }
  const CodePage* CodePageFor(unsigned codePage, std::string* whyNot) override {
    return machine_->CodePageFor(codePage, whyNot);
  }
  std::unique_ptr<LogFile> MakeLogFile() override { return machine_->MakeLogFile(); }
  Status CreateLink(RegKey parent, const std::string& name, RegKey targetRoot,
                    const std::string& targetPath) override {
    return registry_.CreateLink(parent, name, targetRoot, targetPath);
  }
  Status CreateKeyNamed(RegKey parent, const std::string& name) override {
    return registry_.CreateKeyNamed(parent, name);
  }
  Status SetValueNamed(RegKey key, const std::string& name, ValueType type,
                       const std::vector<std::uint8_t>& data) override {
    return registry_.SetValueNamed(key, name, type, data);
  }
  Status DeleteKeyNamed(RegKey parent, const std::string& name) override {
    return registry_.DeleteKeyNamed(parent, name);
  }
  const std::string& ScratchKey() const override { return machine_->ScratchKey(); }
  const std::string& ScratchFolder() const override { return machine_->ScratchFolder(); }
  std::filesystem::path Host(const std::string& windowsPath) const override { return machine_->Host(windowsPath); }

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
