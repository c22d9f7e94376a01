// A library by the engine's name that lacks UninstallSpeechUser.
#include <windows.h>

extern "C" LONG WINAPI SomethingElse() { return 1; }
