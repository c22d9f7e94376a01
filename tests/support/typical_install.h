// The typical run's sample on a test platform: the registry fixture and the
// program folder's shortcuts. With lastProduct, ProdTWDLite for EN_US is the
// family's only install left, so that its removal takes everything.
#pragma once

#include "tests/support/test_platform.h"

namespace tw::test {

// The program folder of the sample's shortcuts, ending in a backslash.
constexpr const char* kTalkwiseFolder = "C:\\Start Menu\\Programs\\Talkwise\\";

void InstallTypicalRun(TestPlatform& platform, bool lastProduct);

}  // namespace tw::test
