// Win32SpeechEngine on the running system: spchcfg.cpl is looked for in the
// program's folder and the system folder but never in the current directory,
// and a library or function that is not there makes the call a silent no-op.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/types.h"
#include "platform/win32/win32_speech_engine.h"
#include "tests/win32/scratch_folder.h"

namespace tw::win32test {
namespace {

constexpr InstanceHandle kInstance = 0x400000;

// A stand-in library built beside this test program under its own name, so
// that the application directory never offers it as spchcfg.cpl.
std::string BesideTheTests(const std::string& name) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string program(path, length);
  return program.substr(0, program.find_last_of('\\') + 1) + name;
}

class SpeechEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetModuleHandleA("spchcfg.cpl"), nullptr);
    char text[MAX_PATH];
    oldDirectory_.assign(text, GetCurrentDirectoryA(sizeof text, text));
  }

  void TearDown() override {
    SetCurrentDirectoryA(oldDirectory_.c_str());
    // The engine keeps its library for the run; let go of it so that the
    // next test starts without it and the scratch folders can be removed.
    for (int reference = 0; reference < 10; ++reference) {
      const HMODULE library = GetModuleHandleA("spchcfg.cpl");
      if (library == nullptr) break;
      FreeLibrary(library);
    }
    DeleteFileA(BesideTheTests("spchcfg.cpl").c_str());
  }

  static void Install(const std::string& stub, const std::string& libraryPath) {
    ASSERT_TRUE(CopyFileA(BesideTheTests(stub).c_str(), libraryPath.c_str(), FALSE)) << stub << " to " << libraryPath;
  }

  static std::string LastCall() {
    using LastCallFunction = const char*(WINAPI*)();
    const HMODULE library = GetModuleHandleA("spchcfg.cpl");
    if (library == nullptr) return "not loaded";
    const auto function = reinterpret_cast<LastCallFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, "LastUninstallSpeechUserCall")));
    return function ? function() : "loaded, without LastUninstallSpeechUserCall";
  }

  Win32SpeechEngine engine;

 private:
  std::string oldDirectory_;
};

TEST_F(SpeechEngineTest, CallsTheLibraryInTheProgramsFolderAndKeepsItForTheRun) {
  Install("stub_spchcfg.dll", BesideTheTests("spchcfg.cpl"));

  EXPECT_EQ(engine.UninstallSpeechUser(0, kInstance, "AB_CD", "navcd"), 1);
  EXPECT_EQ(LastCall(), "0|4194304|AB_CD|navcd");
  EXPECT_EQ(engine.UninstallSpeechUser(0, kInstance, "AB_CD", "cstartcd"), 2);  // the same loaded copy
  EXPECT_EQ(LastCall(), "0|4194304|AB_CD|cstartcd");
}

TEST_F(SpeechEngineTest, NeverLoadsALibraryFromTheCurrentDirectory) {
  ScratchFolder currentDirectory;
  Install("stub_spchcfg.dll", currentDirectory / "spchcfg.cpl");
  ASSERT_TRUE(SetCurrentDirectoryA(currentDirectory.Path().c_str()));

  EXPECT_EQ(engine.UninstallSpeechUser(0, kInstance, "AB_CD", "navcd"), 0);
  EXPECT_EQ(LastCall(), "not loaded");
}

TEST_F(SpeechEngineTest, ALibraryWithoutTheFunctionIsASilentNoOp) {
  Install("stub_without_export.dll", BesideTheTests("spchcfg.cpl"));

  EXPECT_EQ(engine.UninstallSpeechUser(0, kInstance, "AB_CD", "navcd"), 0);
  EXPECT_EQ(LastCall(), "loaded, without LastUninstallSpeechUserCall");
}

}  // namespace
}  // namespace tw::win32test
