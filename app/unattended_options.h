// The switches that may come before the product code: tokens that begin with
// "/", matched without regard to case. The first token that does not begin
// with "/" is the product code; the command line from there is the one the
// removal has always read.
#pragma once

#include <optional>
#include <string>

namespace tw {

struct UnattendedOptions {
  bool anySwitch = false;
  bool quiet = false;  // /quiet
  bool wait = false;   // /wait
  bool usage = false;  // /?
  bool preview = false;  // /preview: the removal run against an overlay, its journal reported
  std::optional<std::string> logPath;        // /log:<path>, /log:"<path>"
  std::optional<std::string> unknownSwitch;  // the first token not understood; parsing stops there
  std::string switches;  // the switch tokens as given, one blank apart
  std::string removal;   // the command line from the product code on
};

UnattendedOptions ParseUnattendedOptions(const std::string& commandLine);

}  // namespace tw
