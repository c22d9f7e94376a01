// Win32SpeechEngine on the running system: spchcfg.cpl is taken from the
// engine's folder as the registry records it (or the system folder), never
// from the program's folder or the current directory, and a library or
// function that is not there makes the call a silent no-op.
#include <windows.h>

#include <aclapi.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include <string>

#include "platform/types.h"
#include "platform/win32/administrators_only.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_speech_engine.h"
#include "tests/win32/scratch_folder.h"

namespace tw::win32test {
namespace {

constexpr InstanceHandle kInstance = 0x400000;
constexpr char kEngineKey[] = "SOFTWARE\\TwWin32Tests\\Engine";

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
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kEngineKey);
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

  // Records folder as the engine's folder.
  static void RecordEngineFolder(const std::string& folder) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kEngineKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "Bin", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>(folder.size() + 1));
    RegCloseKey(key);
  }

  // Gives the object to the administrators alone (others may read it); false
  // where the system does not keep that.
  static bool GiveToAdministrators(const std::string& path) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA("O:BAD:P(A;;FA;;;BA)(A;;FA;;;SY)(A;;FRFX;;;WD)",
                                                              SDDL_REVISION_1, &descriptor, nullptr)) {
      return false;
    }
    PSID owner = nullptr;
    PACL dacl = nullptr;
    BOOL defaulted = FALSE;
    BOOL present = FALSE;
    GetSecurityDescriptorOwner(descriptor, &owner, &defaulted);
    GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted);
    const DWORD status = SetNamedSecurityInfoA(const_cast<char*>(path.c_str()), SE_FILE_OBJECT,
                                               OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION |
                                                   PROTECTED_DACL_SECURITY_INFORMATION,
                                               owner, nullptr, dacl, nullptr);
    LocalFree(descriptor);
    const HANDLE object = CreateFileA(path.c_str(), READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    const bool kept = status == ERROR_SUCCESS && object != INVALID_HANDLE_VALUE && OnlyAdministratorsCanWrite(object);
    if (object != INVALID_HANDLE_VALUE) CloseHandle(object);
    return kept;
  }

  Win32Registry registry;
  Win32SpeechEngine engine{registry, {kEngineKey, "Bin"}};

 private:
  std::string oldDirectory_;
};

TEST_F(SpeechEngineTest, CallsTheLibraryInTheEnginesFolderAndKeepsItForTheRun) {
  ScratchFolder engineFolder;
  Install("stub_spchcfg.dll", engineFolder / "spchcfg.cpl");
  RecordEngineFolder(engineFolder.Path());
  if (!GiveToAdministrators(engineFolder / "spchcfg.cpl") || !GiveToAdministrators(engineFolder.Path())) {
    GTEST_SKIP() << "this system keeps no owner and access list set on a file";
  }

  EXPECT_EQ(engine.UninstallSpeechUser(0, kInstance, "AB_CD", "navcd"), 1);
  EXPECT_EQ(LastCall(), "0|4194304|AB_CD|navcd");
  EXPECT_EQ(engine.UninstallSpeechUser(0, kInstance, "AB_CD", "cstartcd"), 2);  // the same loaded copy
  EXPECT_EQ(LastCall(), "0|4194304|AB_CD|cstartcd");
}

// A user who can write to the program's folder, the current directory or a
// folder the engine value leads to by an odd path must not get a library run.
TEST_F(SpeechEngineTest, NeverLoadsALibraryFromTheProgramsFolderTheCurrentDirectoryOrAnOddEngineFolder) {
  ScratchFolder planted;
  Install("stub_spchcfg.dll", planted / "spchcfg.cpl");
  Install("stub_spchcfg.dll", BesideTheTests("spchcfg.cpl"));
  ASSERT_TRUE(SetCurrentDirectoryA(planted.Path().c_str()));
  const std::string drive = planted.Path().substr(0, 2);
  const std::string name = planted.Path().substr(planted.Path().find_last_of('\\') + 1);
  for (const std::string& folder : {std::string(), name, std::string("."), drive + name, planted.Path() + "\\..\\" + name,
                                    "\\\\?\\" + planted.Path(), "\\\\localhost\\" + drive.substr(0, 1) + "$" +
                                    planted.Path().substr(2)}) {
    Win32SpeechEngine fresh{registry, {kEngineKey, "Bin"}};
    RecordEngineFolder(folder);
    EXPECT_EQ(fresh.UninstallSpeechUser(0, kInstance, "AB_CD", "navcd"), 0) << folder;
    EXPECT_EQ(LastCall(), "not loaded") << folder;
  }
}

// Folders made below C:\ let ordinary users change what is created in them:
// such a library is passed over, and told.
TEST_F(SpeechEngineTest, PassesOverALibraryThatOrdinaryUsersCanChange) {
  ScratchFolder engineFolder;
  Install("stub_spchcfg.dll", engineFolder / "spchcfg.cpl");
  RecordEngineFolder(engineFolder.Path());
  EXPECT_EQ(engine.UninstallSpeechUser(0, kInstance, "AB_CD", "navcd"), 0);
  EXPECT_EQ(LastCall(), "not loaded");
  EXPECT_EQ(engine.PassedOverLibrary(), engineFolder / "spchcfg.cpl");
}

TEST_F(SpeechEngineTest, ALibraryWithoutTheFunctionIsASilentNoOp) {
  ScratchFolder engineFolder;
  Install("stub_without_export.dll", engineFolder / "spchcfg.cpl");
  RecordEngineFolder(engineFolder.Path() + "\\");
  if (!GiveToAdministrators(engineFolder / "spchcfg.cpl") || !GiveToAdministrators(engineFolder.Path())) {
    GTEST_SKIP() << "this system keeps no owner and access list set on a file";
  }

  EXPECT_EQ(engine.UninstallSpeechUser(0, kInstance, "AB_CD", "navcd"), 0);
  EXPECT_EQ(LastCall(), "loaded, without LastUninstallSpeechUserCall");
}

}  // namespace
}  // namespace tw::win32test
