// A stand-in for the speech engine's control-panel library: UninstallSpeechUser
// records its arguments, so that a test can see which engine users a run
// removed. Exported undecorated through spchcfg.def.
//
// When spchcfg-exit-code.txt lies beside the calling executable, the call
// then ends the whole process with the code it holds, as an engine that
// crashes inside the call, or a deployment tool's kill, would end it.
#include <windows.h>

#include "record_file.h"

extern "C" LONG WINAPI UninstallSpeechUser(HWND window, HINSTANCE instance, LPCSTR language, LPCSTR user) {
  // The instance is told apart by whose it is, not by its number, which
  // changes from run to run.
  const char* owner = instance == GetModuleHandleA(nullptr) ? "caller" : (instance == nullptr ? "null" : "other");
  AppendRecord("spchcfg-calls.txt", "window=%s instance=%s language=%s user=%s", window == nullptr ? "null" : "set",
               owner, language == nullptr ? "(null)" : language, user == nullptr ? "(null)" : user);
  // Not ExitProcess: no handler of the caller's runs, as after a kill.
  unsigned long code = 0;
  if (ReadNumberBeside("spchcfg-exit-code.txt", &code)) TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
  return 0;
}
