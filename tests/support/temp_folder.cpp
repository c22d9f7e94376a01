#include "tests/support/temp_folder.h"

#include <random>
#include <stdexcept>
#include <string>

namespace tw::test {

TempFolder::TempFolder() {
  std::random_device entropy;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto candidate = std::filesystem::temp_directory_path() / ("twtest-" + std::to_string(entropy()));
    if (std::filesystem::create_directory(candidate)) {  // false when the name is taken
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

void RemoveTestTree(const std::filesystem::path& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  // Windows refuses to delete read-only files; POSIX needs no change.
  for (fs::recursive_directory_iterator entry(path, error), end; !error && entry != end; entry.increment(error)) {
    std::error_code ignored;
    if (entry->is_symlink(ignored)) continue;
    fs::permissions(entry->path(), fs::perms::owner_write, fs::perm_options::add | fs::perm_options::nofollow, ignored);
  }
  fs::remove_all(path, error);
}

TempFolder::~TempFolder() { RemoveTestTree(path_); }

}  // namespace tw::test
