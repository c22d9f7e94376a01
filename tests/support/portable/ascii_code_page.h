// The code page of a registry or value list a test makes without naming one:
// single-byte, no lead bytes, A-Z the only letters. One object, shared.
#pragma once

#include "platform/code_page.h"

namespace tw {

const CodePage& AsciiCodePage();

}  // namespace tw
