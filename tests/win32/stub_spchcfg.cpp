// A stand-in for the speech engine's control-panel library: it remembers the
// arguments of the last UninstallSpeechUser call for the test that loaded it
// and answers with the number of calls, so a test sees whether one loaded
// copy served them all.
#include <windows.h>

#include <string>

namespace {

struct LastCall {
  HWND window = nullptr;
  HINSTANCE instance = nullptr;
  std::string languageCode;
  std::string userName;
};

LastCall lastCall;
LONG calls = 0;

}  // namespace

extern "C" LONG WINAPI UninstallSpeechUser(HWND window, HINSTANCE instance, LPCSTR languageCode, LPCSTR userName) {
  lastCall = {window, instance, languageCode, userName};
  return ++calls;
}

// The arguments of the last call, as "window|instance|language|user".
extern "C" const char* WINAPI LastUninstallSpeechUserCall() {
  static std::string text;
  text = std::to_string(reinterpret_cast<UINT_PTR>(lastCall.window)) + "|" +
         std::to_string(reinterpret_cast<UINT_PTR>(lastCall.instance)) + "|" + lastCall.languageCode + "|" +
         lastCall.userName;
  return text.c_str();
}
