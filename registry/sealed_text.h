// Texts stored with a checksum of their own, so that a text cut short or
// edited reads as damaged rather than as another, shorter text.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tw {

// FNV-1a of the text, as 8 hexadecimal digits: short and stable.
std::string ShortHash(const std::string& text);

// "<body> <checksum>", the checksum taken over the value's name and body: a
// text moved to another value does not read there either.
std::string Sealed(const std::string& valueName, const std::string& body);
// The body's words (split at blanks only), when the text is sealed under that
// name; nothing otherwise.
std::optional<std::vector<std::string>> Unsealed(const std::string& valueName, const std::string& text);

}  // namespace tw
