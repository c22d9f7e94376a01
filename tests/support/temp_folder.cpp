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

TempFolder::~TempFolder() {
  std::error_code error;
  std::filesystem::remove_all(path_, error);  // links are removed, never followed
}

}  // namespace tw::test
