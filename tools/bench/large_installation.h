// A large installation of the family, generated: per language ProdTWDLite and
// ProdTWC sharing a program folder of shortcuts, and a help-registration key
// that holds many other programs' registrations besides the family's.
#pragma once

#include <cstdint>
#include <string>

#include "tests/support/test_platform.h"

namespace tw::bench {

struct InstallationSize {
  std::uint32_t languages = 100;
  std::uint32_t shortcutsPerFolder = 50;  // one folder per language
  std::uint32_t sharedShortcutsPerFolder = 2;  // the first ones, both products' (ProdTWDLite's own are every other)
  std::uint32_t foreignHelpFiles = 19500;
  std::uint32_t familyHelpFilesPerLanguage = 5;

  // Everything doubled `times` times.
  InstallationSize Doubled(int times) const;
};

// Language code of the n-th language: five characters "Ln_nn"-like, unique.
std::string LanguageCode(std::uint32_t index);

// Writes the installation; ProductCtr says how many products stay after the
// one to be removed (1: the next run is the full removal).
void BuildInstallation(test::TestPlatform& platform, const InstallationSize& size, std::uint32_t productCtr);

}  // namespace tw::bench
