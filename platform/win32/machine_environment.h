// Environment variables as the machine alone defines them. The elevated
// process's own environment was made partly from the user's HKCU\Environment,
// so a path the run trusts (a profile folder) is never expanded with it.
#pragma once

#include "platform/win32/wide_text.h"

namespace tw {

// The text with each %NAME% replaced by SystemRoot or SystemDrive as the
// running system has them, or else by the value NAME of the system
// environment (the key Environment below
// HKLM\SYSTEM\CurrentControlSet\Control\Session Manager) when that needs no
// further expansion. Empty when any variable has no such value or a '%' is
// left unpaired: the text is then not known.
WideText ExpandWithMachineVariables(const WideText& text);

}  // namespace tw
