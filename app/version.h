// The program's version, the one source of the version block and the change
// log. The resource script includes this file; its compiler knows the macros
// and the # operator, nothing more.
#pragma once

#define TW_VERSION_MAJOR 1
#define TW_VERSION_MINOR 0
#define TW_VERSION_PATCH 0
#define TW_VERSION_BUILD 0

// FILEVERSION and PRODUCTVERSION: "1, 0, 0, 0".
#define TW_VERSION_NUMBERS TW_VERSION_MAJOR, TW_VERSION_MINOR, TW_VERSION_PATCH, TW_VERSION_BUILD
// "1.0.0.0"
#define TW_VERSION_STRINGIZE_(text) #text
#define TW_VERSION_STRINGIZE(text) TW_VERSION_STRINGIZE_(text)
#define TW_VERSION_TEXT \
  TW_VERSION_STRINGIZE(TW_VERSION_MAJOR.TW_VERSION_MINOR.TW_VERSION_PATCH.TW_VERSION_BUILD)
