#include "registry/sealed_text.h"

#include <cstdint>

#include "platform/hex_digits.h"
#include "registry/blank_separated.h"

namespace tw {

std::string ShortHash(const std::string& text) {
  std::uint32_t hash = 2166136261u;
  for (unsigned char c : text) hash = (hash ^ c) * 16777619u;
  return HexDigits(hash, 8);
}

std::string Sealed(const std::string& valueName, const std::string& body) {
  return body + " " + ShortHash(valueName + " " + body);
}

std::optional<std::vector<std::string>> Unsealed(const std::string& valueName, const std::string& text) {
  const std::size_t blank = text.rfind(' ');
  if (blank == std::string::npos) return std::nullopt;
  const std::string body = text.substr(0, blank);
  if (text.compare(blank + 1, std::string::npos, ShortHash(valueName + " " + body)) != 0) return std::nullopt;
  return SplitAtBlanks(body);
}

}  // namespace tw
