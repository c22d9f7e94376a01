// Every input of the fuzz targets' seed corpus and every crash that fuzzing
// has found, run through the target's checks on each build.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/fuzz/checks.h"

namespace tw::fuzz {
namespace {

class FuzzReplayTest : public ::testing::TestWithParam<Target> {};

TEST_P(FuzzReplayTest, CorpusAndRegressionsPassTheChecks) {
  std::size_t inputs = 0;
  for (const char* collection : {"corpus", "regressions"}) {
    const std::filesystem::path folder = std::filesystem::path(TW_FUZZ_DIR) / collection / GetParam().name;
    if (!std::filesystem::is_directory(folder)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      std::ifstream in(entry.path(), std::ios::binary);
      std::ostringstream content;
      content << in.rdbuf();
      const std::string input = content.str();
      ++inputs;
      for (const std::string& problem :
           GetParam().check(reinterpret_cast<const std::uint8_t*>(input.data()), input.size())) {
        ADD_FAILURE() << entry.path().string() << ": " << problem;
      }
    }
  }
  EXPECT_GT(inputs, 0u) << "no seed corpus for " << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(EachTarget, FuzzReplayTest, ::testing::ValuesIn(kTargets),
                         [](const ::testing::TestParamInfo<Target>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tw::fuzz
