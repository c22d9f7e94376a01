// The registry, file system and drives a test runs on: the portable ones in
// the native build; the system's own, through the Win32 layer, in the Windows
// build that runs under Wine.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"
#if defined(_WIN32)
#include "tests/support/win32/win32_test_services.h"
#else
#include "tests/support/portable/disk_file_system.h"
#include "tests/support/portable/disk_user_folders.h"
#include "tests/support/portable/portable_registry.h"
#endif

namespace tw::test {

#if defined(_WIN32)
constexpr bool kPortablePlatform = false;
using TestRegistry = Win32TestRegistry;
using TestFileSystem = Win32TestFileSystem;
using TestUserFolders = Win32TestUserFolders;
using TestDrives = SystemDrives;
// The keys a test may change; the rest of the system's registry is not theirs.
const std::vector<std::string> kSnapshotKeys = kFamilyTraces;
// Whether the services read 8-bit names in that code page: the system's
// active one (under Wine the locale of the run chooses it).
bool ServicesRunCodePage(unsigned codePage);
// A file's name as the 8-bit calls give it (in the active code page).
std::string FileNameOf(const std::filesystem::path& path);
#else
constexpr bool kPortablePlatform = true;
using TestRegistry = PortableRegistry;
using TestFileSystem = DiskFileSystem;
using TestUserFolders = DiskUserFolders;
using TestDrives = TempDrives;
const std::vector<std::string> kSnapshotKeys{"HKEY_LOCAL_MACHINE\\SOFTWARE", "HKEY_CURRENT_USER\\Software",
                                             "HKEY_CURRENT_USER\\AppEvents"};
// The portable services read names in whatever code page the test sets.
inline bool ServicesRunCodePage(unsigned) { return true; }
inline std::string FileNameOf(const std::filesystem::path& path) { return path.filename().string(); }
#endif

}  // namespace tw::test

// Ends a test that needs what only the portable registry offers (protected
// keys, whole-tree deletion, values enumerated in creation order as Windows
// does and Wine does not) where it runs on another.
#define TW_PORTABLE_ONLY() \
  if (!::tw::test::kPortablePlatform) GTEST_SKIP() << "needs the portable registry"

// Ends a test that makes files at paths of MAX_PATH characters or more, which
// the Windows file calls the tests use cannot make.
#define TW_NEEDS_OVERLONG_PATHS() \
  if (!::tw::test::kPortablePlatform) GTEST_SKIP() << "Windows makes no file at a path this long"
