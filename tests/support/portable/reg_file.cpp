#include "tests/support/portable/reg_file.h"

#include "platform/journal/reg_syntax.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <sstream>

namespace tw {
namespace {

constexpr std::uint32_t kDataCapacity = 1u << 20;

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

struct LogicalLine {
  int number;
  std::string text;
};

// A hex list may go on over several physical lines, each ending in a backslash.
std::vector<LogicalLine> JoinContinuations(const std::string& text) {
  std::vector<LogicalLine> lines;
  std::istringstream in(text);
  std::string physical;
  int number = 0;
  bool continuing = false;
  while (std::getline(in, physical)) {
    ++number;
    if (continuing) {
      lines.back().text += Trim(physical);
    } else {
      lines.push_back({number, Trim(physical)});
    }
    std::string& logical = lines.back().text;
    continuing = !logical.empty() && logical.back() == '\\' && logical.find("=hex") != std::string::npos;
    if (continuing) logical.pop_back();
  }
  return lines;
}

class Parser {
 public:
  explicit Parser(Registry& registry) : registry_(registry) {}
  ~Parser() { CloseCurrent(); }

  std::optional<std::string> Run(const std::string& text) {
    bool sawHeader = false;
    for (const LogicalLine& line : JoinContinuations(text)) {
      lineNumber_ = line.number;
      std::string content = Trim(line.text);
      if (content.size() >= 3 && content.compare(0, 3, "\xEF\xBB\xBF") == 0) content = Trim(content.substr(3));
      if (content.empty() || content[0] == ';') continue;
      if (!sawHeader) {
        if (content != "REGEDIT4" && content != "Windows Registry Editor Version 5.00") {
          return Error("expected the header REGEDIT4");
        }
        sawHeader = true;
        continue;
      }
      std::optional<std::string> error = content[0] == '[' ? KeyLine(content) : ValueLine(content);
      if (error) return error;
    }
    if (!sawHeader) return std::string("the text holds no REGEDIT4 header");
    return std::nullopt;
  }

 private:
  std::optional<std::string> Error(const std::string& what) const {
    return "line " + std::to_string(lineNumber_) + ": " + what;
  }

  void CloseCurrent() {
    if (haveKey_) registry_.CloseKey(current_);
    haveKey_ = false;
  }

  std::optional<std::string> KeyLine(const std::string& content) {
    CloseCurrent();
    const auto close = content.rfind(']');
    if (close == std::string::npos || Trim(content.substr(close + 1)) != "") return Error("a key line must end in ]");
    const bool remove = content.size() > 1 && content[1] == '-';
    const std::string path = content.substr(remove ? 2 : 1, close - (remove ? 2 : 1));
    // The registry calls take the path up to its first NUL: another key than
    // the line names, and a tree deletion that would never reach its end.
    if (path.find('\0') != std::string::npos) return Error("a key path cannot hold a NUL character");
    const auto slash = path.find('\\');
    const auto root = RootByName(path.substr(0, slash));
    if (!root) return Error("unknown root key in [" + path + "]");
    const std::string subKey = slash == std::string::npos ? "" : path.substr(slash + 1);
    if (subKey.empty()) return Error("a root key itself cannot be written or deleted");
    if (remove) {
      DeleteTree(*root, subKey);
      return std::nullopt;
    }
    if (registry_.CreateKey(*root, subKey.c_str(), &current_) != kErrorSuccess) {
      return Error("cannot create the key [" + path + "]");
    }
    haveKey_ = true;
    return std::nullopt;
  }

  // A registry link in the tree goes itself, never the key it points to; a
  // name holding a NUL is left alone, as cut short it would name this key
  // again and the walk would never end.
  void DeleteTree(RegKey root, const std::string& path) {
    RegKey key = 0;
    if (registry_.OpenKey(root, path.c_str(), kKeyAllAccess | kKeyOpenLink, &key) != kErrorSuccess) return;
    std::vector<std::string> children;
    for (std::uint32_t index = 0;; ++index) {
      char name[kRegKeyNameCapacity];
      std::uint32_t size = sizeof name;
      if (registry_.EnumKey(key, index, name, &size) != kErrorSuccess) break;
      if (std::memchr(name, '\0', size) == nullptr) children.emplace_back(name, size);
    }
    for (const std::string& child : children) DeleteTree(root, path + "\\" + child);
    registry_.DeleteKey(key, "");
    registry_.CloseKey(key);
  }

  // A quoted text with the escapes \\ and \" starting at pos; pos ends after it.
  static bool ReadQuoted(const std::string& text, std::size_t* pos, std::string* out) {
    if (*pos >= text.size() || text[*pos] != '"') return false;
    for (std::size_t i = *pos + 1; i < text.size(); ++i) {
      if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
        *out += text[++i];
      } else if (text[i] == '"') {
        *pos = i + 1;
        return true;
      } else {
        *out += text[i];
      }
    }
    return false;
  }

  static bool ParseHexBytes(const std::string& list, std::vector<std::uint8_t>* bytes) {
    std::string item;
    std::istringstream in(list);
    while (std::getline(in, item, ',')) {
      item = Trim(item);
      if (item.empty() && in.eof()) break;
      if (item.empty() || item.size() > 2 || !std::isxdigit(static_cast<unsigned char>(item[0])) ||
          (item.size() == 2 && !std::isxdigit(static_cast<unsigned char>(item[1])))) {
        return false;
      }
      bytes->push_back(static_cast<std::uint8_t>(std::stoul(item, nullptr, 16)));
    }
    return true;
  }

  std::optional<std::string> ParseData(const std::string& data, ValueType* type, std::vector<std::uint8_t>* bytes) {
    if (!data.empty() && data[0] == '"') {
      std::size_t pos = 0;
      std::string text;
      if (!ReadQuoted(data, &pos, &text) || Trim(data.substr(pos)) != "") return Error("unterminated or malformed text");
      *type = kRegSz;
      bytes->assign(text.begin(), text.end());
      bytes->push_back(0);
      return std::nullopt;
    }
    if (data.compare(0, 6, "dword:") == 0) {
      const std::string digits = Trim(data.substr(6));
      if (digits.empty() || digits.size() > 8 ||
          digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return Error("dword: needs one to eight hex digits");
      }
      const auto value = static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16));
      *type = kRegDword;
      *bytes = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
      return std::nullopt;
    }
    std::string list;
    if (data.compare(0, 4, "hex:") == 0) {
      *type = kRegBinary;
      list = data.substr(4);
    } else if (data.compare(0, 4, "hex(") == 0) {
      const auto close = data.find("):");
      const std::string number = close == std::string::npos ? "" : data.substr(4, close - 4);
      if (number.empty() || number.size() > 8 || number.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return Error("hex(N): needs a hex type number");
      }
      *type = static_cast<ValueType>(std::stoul(number, nullptr, 16));
      list = data.substr(close + 2);
    } else {
      return Error("unknown data form: " + data.substr(0, 20));
    }
    if (!ParseHexBytes(list, bytes)) return Error("malformed hex byte list");
    return std::nullopt;
  }

  std::optional<std::string> ValueLine(const std::string& content) {
    if (!haveKey_) return Error("a value outside of any key");
    std::string name;
    std::size_t pos = 0;
    if (content[0] == '@') {
      pos = 1;
    } else if (!ReadQuoted(content, &pos, &name)) {
      return Error("a value name must be @ or a quoted text");
    }
    // As with key paths: the calls would take another value's name.
    if (name.find('\0') != std::string::npos) return Error("a value name cannot hold a NUL character");
    const auto equals = content.find_first_not_of(" \t", pos);
    if (equals == std::string::npos || content[equals] != '=') return Error("expected = after the value name");
    const std::string data = Trim(content.substr(equals + 1));
    if (data == "-") {
      registry_.DeleteValue(current_, name.c_str());
      return std::nullopt;
    }
    ValueType type = kRegNone;
    std::vector<std::uint8_t> bytes;
    if (auto error = ParseData(data, &type, &bytes)) return error;
    if (WriteValueBytes(registry_, current_, name.c_str(), type, bytes) != kErrorSuccess) {
      return Error("cannot write the value \"" + name + "\"");
    }
    return std::nullopt;
  }

  Registry& registry_;
  RegKey current_ = 0;
  bool haveKey_ = false;
  int lineNumber_ = 0;
};

struct ExportBuffers {
  std::vector<char> name = std::vector<char>(kRegValueNameCapacity);
  std::vector<std::uint8_t> data = std::vector<std::uint8_t>(kDataCapacity);
};

void ExportTree(Registry& registry, RegKey root, const std::string& fullPath, const std::string& subKey,
                ExportBuffers& buffers, std::string* out) {
  RegKey key = 0;
  if (registry.OpenKey(root, subKey.c_str(), kKeyRead, &key) != kErrorSuccess) return;
  *out += "[" + fullPath + "]\n";
  std::vector<char>& name = buffers.name;
  std::vector<std::uint8_t>& data = buffers.data;
  for (std::uint32_t index = 0;; ++index) {
    std::uint32_t nameSize = kRegValueNameCapacity;
    std::uint32_t dataSize = kDataCapacity;
    ValueType type = kRegNone;
    const Status status = registry.EnumValue(key, index, name.data(), &nameSize, &type, data.data(), &dataSize);
    if (status == kErrorNoMoreItems) break;
    if (status != kErrorSuccess) continue;
    const std::string prefix = RegValueName(std::string(name.data(), nameSize));
    *out += prefix + "=" +
            FormatData(type, std::vector<std::uint8_t>(data.begin(), data.begin() + dataSize), prefix.size() + 1) +
            "\n";
  }
  *out += "\n";
  std::vector<std::string> children;
  for (std::uint32_t index = 0;; ++index) {
    std::uint32_t size = kRegKeyNameCapacity;
    const Status status = registry.EnumKey(key, index, name.data(), &size);
    if (status == kErrorNoMoreItems) break;
    // A name holding a NUL has no path that reaches it (it would name this
    // key again) and no form in a .reg file.
    if (status == kErrorSuccess && std::memchr(name.data(), 0, size) == nullptr) children.emplace_back(name.data(), size);
  }
  registry.CloseKey(key);
  for (const std::string& child : children) {
    ExportTree(registry, root, fullPath + "\\" + child, subKey + "\\" + child, buffers, out);
  }
}

}  // namespace

Status WriteValueBytes(Registry& registry, RegKey key, const char* valueName, ValueType type,
                       const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> buffer = data;
  buffer.push_back('X');
  return registry.SetValue(key, valueName, type, buffer.data(), static_cast<std::uint32_t>(data.size()));
}

std::optional<RegKey> RootByName(const std::string& name) {
  if (name == "HKEY_LOCAL_MACHINE" || name == "HKLM") return kHkeyLocalMachine;
  if (name == "HKEY_CURRENT_USER" || name == "HKCU") return kHkeyCurrentUser;
  if (name == "HKEY_USERS" || name == "HKU") return kHkeyUsers;
  return std::nullopt;
}

std::optional<std::string> ImportRegText(Registry& registry, const std::string& text) {
  return Parser(registry).Run(text);
}

std::string ExportRegText(Registry& registry, const std::vector<std::string>& keyPaths) {
  std::string out = "REGEDIT4\n\n";
  ExportBuffers buffers;
  for (const std::string& path : keyPaths) {
    const auto slash = path.find('\\');
    const auto root = RootByName(path.substr(0, slash));
    if (!root || slash == std::string::npos) continue;
    ExportTree(registry, *root, path, path.substr(slash + 1), buffers, &out);
  }
  return out;
}

}  // namespace tw
