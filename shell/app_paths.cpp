#include "app/uninstall_app.h"
#include "registry/key_path.h"
#include "registry/layout.h"
#include "registry/scoped_key.h"

namespace tw {
namespace {

// The family's executables that the setups register by bare file name.
constexpr const char* kFamilyExecutables[] = {"speakfit.exe", "recogsrv.exe", "notepane.exe", "quickcmd.exe",
                                              "twvocab.exe"};

}  // namespace

void UninstallApp::RemoveAppPaths() {
  const ScopedKey directories(platform_.registry, kHkeyLocalMachine, FamilyPath({layout::kEngine, layout::kDirectories}),
                              kKeyQueryValue);
  const auto engineDirectory = directories.ReadText(layout::kBin, layout::kPathCapacity);
  // Without an engine directory there is nothing to tell ours from another
  // program's registration; an empty one would match those whose "Path" is
  // empty.
  if (!engineDirectory || engineDirectory->empty()) return;

  for (const char* executable : kFamilyExecutables) {
    ScopedKey registration(platform_.registry, kHkeyLocalMachine, JoinPath({layout::kAppPaths, executable}),
                           kKeyAllAccess, ScopedKey::RefuseLinks{platform_.codePage});
    const auto registeredPath = registration.ReadText(layout::kAppPathValue, layout::kPathCapacity);
    // Only a registration written with exactly the engine directory is ours.
    if (registeredPath && *registeredPath == *engineDirectory) registration.DeleteSelf();
  }
}

}  // namespace tw
