// Numbers in hexadecimal for the texts the program writes: the change log,
// the ledger's checksums.
#pragma once

#include <cstdint>
#include <string>

namespace tw {

// The value in lower-case hexadecimal digits, at least minDigits of them
// (printf's "%0*x" without printf, which would double the program's size).
inline std::string HexDigits(std::uint32_t value, int minDigits) {
  std::string digits;
  do {
    digits.insert(digits.begin(), "0123456789abcdef"[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  if (static_cast<int>(digits.size()) < minDigits) digits.insert(0, minDigits - digits.size(), '0');
  return digits;
}

}  // namespace tw
