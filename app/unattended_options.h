// The switches that may come before the product code, matched without regard
// to case: tokens that begin with "/", or with a quote and then "/" (as
// PowerShell and Ansible quote an argument that holds a blank). Quotes in a
// switch group its blanks and are removed. Every switch before the product
// code is read, whatever its order; the first token that is not a switch is
// the product code, and the command line from there is the one the removal
// has always read.
#pragma once

#include <optional>
#include <string>

namespace tw {

struct UnattendedOptions {
  bool anySwitch = false;
  bool quiet = false;  // /quiet, /qn
  bool wait = false;   // /wait
  bool usage = false;  // /?
  bool preview = false;  // /preview: the removal run against an overlay, its journal reported
  bool allUsers = false;  // /allusers: every user profile's part, as a run as LocalSystem always does
  std::optional<std::string> logPath;        // /log:<path>, /log:"<path>", "/log:<path>"
  std::optional<std::string> unknownSwitch;  // the first switch not understood, as given
  std::string switches;  // the switch tokens as given, one blank apart
  std::string removal;   // the command line from the product code on
};

UnattendedOptions ParseUnattendedOptions(const std::string& commandLine);

}  // namespace tw
