// libFuzzer entry for one target, chosen at build time by TW_FUZZ_TARGET (its
// index in kTargets). A problem is printed and ends the run like a crash, so
// that libFuzzer keeps the input.
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const tw::fuzz::Target& target = tw::fuzz::kTargets[TW_FUZZ_TARGET];
  const tw::fuzz::Problems problems = target.check(data, size);
  if (problems.empty()) return 0;
  for (const std::string& problem : problems) std::fprintf(stderr, "%s: %s\n", target.name, problem.c_str());
  std::abort();
}
