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

// The end of the switch starting at start: the next blank, or for a quoted
// log path the blank after its closing quote. npos when the quote is not
// closed or something follows it.
std::size_t SwitchEnd(const std::string& line, std::size_t start) {
  const std::size_t value = start + kLogPrefixLength;
  const bool quotedLog = AsciiLower(line.substr(start, kLogPrefixLength)) == kLogPrefix && value < line.size() &&
                         line[value] == '"';
  if (!quotedLog) return std::min(line.find(' ', start), line.size());
  const std::size_t close = line.find('"', value + 1);
  if (close == std::string::npos || (close + 1 < line.size() && line[close + 1] != ' ')) return std::string::npos;
  return close + 1;
}

// Applies one switch token; false when it is not one of ours.
bool Apply(const std::string& token, UnattendedOptions* options) {
  const std::string name = AsciiLower(token);
  if (name == "/quiet") {
    options->quiet = true;
  } else if (name == "/wait") {
    options->wait = true;
  } else if (name == "/preview") {
    options->preview = true;
  } else if (name == "/?") {
    options->usage = true;
  } else if (name.compare(0, kLogPrefixLength, kLogPrefix) == 0 && token.size() > kLogPrefixLength) {
    std::string path = token.substr(kLogPrefixLength);
    if (path.front() == '"') path = path.substr(1, path.size() - 2);
    if (path.empty()) return false;
    options->logPath = path;
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
    if (pos >= line.size() || line[pos] != '/') break;
    options.anySwitch = true;
    const std::size_t end = SwitchEnd(line, pos);
    const std::string token = line.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    if (end == std::string::npos || !Apply(token, &options)) {
      options.unknownSwitch = token;
      return options;
    }
    options.switches += (options.switches.empty() ? "" : " ") + token;
    pos = end;
  }
  options.removal = line.substr(pos);
  return options;
}

}  // namespace tw
