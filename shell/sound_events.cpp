#include "app/uninstall_app.h"
#include "registry/layout.h"
#include "registry/scoped_key.h"
#include "registry/text.h"
#include "shell/start_menu_paths.h"

namespace tw {
namespace {

// Each key name is followed by the sound-event suffix of the language.
constexpr const char* kLabelKeys[] = {"AppEvents\\EventLabels\\Start Dictation ",
                                      "AppEvents\\EventLabels\\Stop Dictation "};
constexpr const char* kSchemeEntries[] = {"\\Start Dictation ", "\\Stop Dictation "};

}  // namespace

// From every user's hive the run reaches.
void UninstallApp::RemoveSoundEvents() {
  const std::string suffix = SoundEventSuffix(platform_.codePage, languageCode_);
  ForEachUser(platform_.user, [&](const UserAccount& account) {
    const auto remove = [&](const std::string& path) {
      if (const auto inHive = HiveKeyPath(account, path)) tw::DeleteKeyTree(platform_.registry, platform_.codePage, account.hiveRoot, *inHive);
    };
    for (const char* label : kLabelKeys) remove(label + suffix);
    for (const char* entry : kSchemeEntries) remove(layout::kSoundScheme + (entry + suffix));

    // The scheme key goes once no language has an entry below it, whatever values it holds.
    ScopedKey scheme(platform_.registry, account.hiveRoot, HiveKeyPath(account, layout::kSoundScheme), kKeyAllAccess,
                     ScopedKey::RefuseLinks{platform_.codePage});
    if (!scheme.IsOpen()) return;
    if (FirstSubkeyStatus(platform_.registry, scheme.Handle()) == kErrorNoMoreItems) scheme.DeleteSelf();
  });
}

}  // namespace tw
