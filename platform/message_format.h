// Fills the %d and %s of a message text, 8-bit or wide. The texts come from
// the string table, so they are never handed to printf: an argument holding
// "%" shows as it is and cannot be read as a conversion.
#pragma once

#include <cstddef>
#include <string>

namespace tw {

template <typename Text>
Text FillMessageFormat(const Text& format, const Text& number, const Text& text) {
  using Char = typename Text::value_type;
  Text message;
  for (std::size_t i = 0; i < format.size(); ++i) {
    const bool conversion = format[i] == Char('%') && i + 1 < format.size();
    if (conversion && format[i + 1] == Char('d')) {
      message += number;
      ++i;
    } else if (conversion && format[i + 1] == Char('s')) {
      message += text;
      ++i;
    } else {
      message += format[i];
    }
  }
  return message;
}

}  // namespace tw
