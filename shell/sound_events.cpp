#include "app/uninstall_app.h"
#include "registry/layout.h"
#include "registry/scoped_key.h"
#include "registry/text.h"

namespace tw {
namespace {

// Each key name is followed by the sound-event suffix of the language.
constexpr const char* kLabelKeys[] = {"AppEvents\\EventLabels\\Start Dictation ",
                                      "AppEvents\\EventLabels\\Stop Dictation "};
constexpr const char* kSchemeEntries[] = {"\\Start Dictation ", "\\Stop Dictation "};

}  // namespace

void UninstallApp::RemoveSoundEvents() {
  const std::string suffix = SoundEventSuffix(platform_.codePage, languageCode_);
  for (const char* label : kLabelKeys) DeleteKeyTree(kHkeyCurrentUser, label + suffix);
  for (const char* entry : kSchemeEntries) DeleteKeyTree(kHkeyCurrentUser, layout::kSoundScheme + (entry + suffix));

  // The scheme key goes once no language has an entry below it, whatever values it holds.
  ScopedKey scheme(platform_.registry, kHkeyCurrentUser, std::string(layout::kSoundScheme), kKeyAllAccess,
                   ScopedKey::RefuseLinks{platform_.codePage});
  if (!scheme.IsOpen()) return;
  if (FirstSubkeyStatus(platform_.registry, scheme.Handle()) == kErrorNoMoreItems) scheme.DeleteSelf();
}

}  // namespace tw
