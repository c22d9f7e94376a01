#include <random>

#include "tests/contract/contract_world.h"

namespace tw::contract {

std::string ScratchName(const std::string& prefix) {
  std::random_device entropy;
  std::uniform_int_distribution<unsigned> digit(0, 15);
  std::string name = prefix;
  for (int i = 0; i < 8; ++i) name += "0123456789abcdef"[digit(entropy)];
  return name;
}

}  // namespace tw::contract
