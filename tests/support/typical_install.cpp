#include "tests/support/typical_install.h"

#include <string>

namespace tw::test {

void InstallTypicalRun(TestPlatform& platform, bool lastProduct) {
  platform.LoadFixture("typical_run.reg");
  if (lastProduct) {
    platform.LoadRegText("REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Talkwise\\Install\\Counters]\n"
                         "\"ProductCtr\"=dword:00000001\n"
                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Talkwise\\Install\\Languages\\EN_US]\n"
                         "\"ProdTWCCtr\"=-\n");
  }
  for (const char* shortcut : {"Begin Here", "General Reference", "Dictation"}) {
    platform.WriteFile(kTalkwiseFolder + std::string(shortcut) + ".lnk");
  }
}

}  // namespace tw::test
