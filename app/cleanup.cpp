#include "app/uninstall_app.h"
#include "registry/key_path.h"
#include "registry/layout.h"

namespace tw {

void UninstallApp::CleanUpProduct() {
  const std::string counters = *FamilyPath({layout::kInstall, layout::kCounters});
  if (ReadCounter(kHkeyLocalMachine, counters, layout::kProductCtr) > 1) {
    DecrementCounter(kHkeyLocalMachine, counters, layout::kProductCtr);
    BuildComponentList();
    ReleaseComponentLanguages();
    ReleaseProductEntry();
    ReleaseEngineData();
    ReleaseComponents();
    return;
  }
  RemoveHelpRegistrations();
  RemoveSoundEvents();
  RemoveAppPaths();
  RemoveProgramFolder("");
  for (const char* component : layout::kAllComponents) DeleteKeyTree(kHkeyLocalMachine, *FamilyPath({component}));
}

}  // namespace tw
