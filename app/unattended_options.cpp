#include "app/unattended_options.h"

#include <algorithm>
#include "platform/code_page.h"

namespace tw {
namespace {

// ASCII only: every byte of a switch's name is ASCII, and a double-byte
// character's trail byte must not be changed into one.
std::string AsciiLower(std::string text) {
  for (char& c : text) {
    c = LowerAscii(c);
  }
  return text;
}

constexpr char kLogPrefix[] = "/log:";
constexpr std::size_t kLogPrefixLength = sizeof kLogPrefix - 1;

bool StartsSwitch(const std::string& line, std::size_t pos) {
  return line[pos] == '/' || (line[pos] == '"' && pos + 1 < line.size() && line[pos + 1] == '/');
}

// The end of the switch starting at start: the first blank outside quotes.
// npos when a quote is left open: where the switch ends, and so where the
// product code begins, cannot be known.
std::size_t SwitchEnd(const std::string& line, std::size_t start) {
  bool quoted = false;
  std::size_t pos = start;
  for (; pos < line.size() && (quoted || line[pos] != ' '); ++pos) {
    if (line[pos] == '"') quoted = !quoted;
  }
  return quoted ? std::string::npos : pos;
}

// Applies one switch, its quotes removed (no Windows path holds one); false
// when it is not one of ours. /norestart is accepted and changes nothing:
// this program never restarts the machine.
bool Apply(const std::string& token, UnattendedOptions* options) {
  std::string text = token;
  text.erase(std::remove(text.begin(), text.end(), '"'), text.end());
  const std::string name = AsciiLower(text);
  if (name == "/quiet" || name == "/qn") {
    options->quiet = true;
  } else if (name == "/wait") {
    options->wait = true;
  } else if (name == "/preview") {
    options->preview = true;
  } else if (name == "/allusers") {
    options->allUsers = true;
  } else if (name == "/norestart") {
  } else if (name == "/?") {
    options->usage = true;
  } else if (name.compare(0, kLogPrefixLength, kLogPrefix) == 0 && text.size() > kLogPrefixLength) {
    options->logPath = text.substr(kLogPrefixLength);
  } else {
    return false;
  }
  return true;
}

}  // namespace

UnattendedOptions ParseUnattendedOptions(const std::string& commandLine) {
  // Embedded NULs end the text as they would in the C string Windows hands over.
  const std::string line = commandLine.substr(0, commandLine.find('\0'));
  UnattendedOptions options;
  std::size_t pos = 0;
  for (;;) {
    while (pos < line.size() && line[pos] == ' ') ++pos;
    if (pos >= line.size() || !StartsSwitch(line, pos)) break;
    options.anySwitch = true;
    const std::size_t end = SwitchEnd(line, pos);
    const std::string token = line.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    options.switches += (options.switches.empty() ? "" : " ") + token;
    if ((end == std::string::npos || !Apply(token, &options)) && !options.unknownSwitch) options.unknownSwitch = token;
    if (end == std::string::npos) return options;
    pos = end;
  }
  options.removal = line.substr(pos);
  return options;
}

}  // namespace tw
