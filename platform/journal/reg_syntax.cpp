#include "platform/journal/reg_syntax.h"

namespace tw {

std::string Quote(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

namespace {

bool IsPlainText(ValueType type, const std::vector<std::uint8_t>& data) {
  if (type != kRegSz || data.empty() || data.back() != 0) return false;
  for (std::size_t i = 0; i + 1 < data.size(); ++i) {
    if (data[i] < 0x20 || data[i] >= 0x7F) return false;
  }
  return true;
}

}  // namespace

std::string RegValueName(const std::string& name) { return name.empty() ? "@" : Quote(name); }

std::string FormatData(ValueType type, const std::vector<std::uint8_t>& data, std::optional<std::size_t> prefixLength) {
  if (IsPlainText(type, data)) return Quote(std::string(data.begin(), data.end() - 1));
  if (type == kRegDword && data.size() == 4) {
    return "dword:" + HexDigits(data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24, 8);
  }
  std::string out = type == kRegBinary ? "hex:" : "hex(" + HexDigits(type, 1) + "):";
  std::size_t column = prefixLength.value_or(0) + out.size();
  for (std::size_t i = 0; i < data.size(); ++i) {
    out += HexDigits(data[i], 2);
    column += 2;
    if (i + 1 < data.size()) {
      out += ',';
      ++column;
      if (prefixLength && column > 76) {
        out += "\\\n  ";
        column = 2;
      }
    }
  }
  return out;
}

}  // namespace tw
