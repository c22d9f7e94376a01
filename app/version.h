// The program's version, as the version block and the change log give it.
#pragma once

#define TW_VERSION_TEXT "1.0.0.0"
