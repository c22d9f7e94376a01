// Win32SpeechEngine on the running system: spchcfg.cpl is taken from the
// engine's folder as the registry records it (or the system folder), never
// from the program's folder or the current directory, and a library or
// function that is not there makes the call a silent no-op.
#include <windows.h>

#include <aclapi.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include <memory>
#include <string>

#include "platform/types.h"
#include "platform/win32/administrators_only.h"
#include "platform/win32/library_copy.h"
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

  // A preview's check finds it acceptable and loads nothing.
  Win32SpeechEngine checked{registry, {kEngineKey, "Bin"}};
  checked.CheckLibrary();
  EXPECT_EQ(checked.PassedOverLibrary(), "");
  EXPECT_EQ(LastCall(), "not loaded");
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
// such a library is passed over, and told, by a preview's check as by the call.
TEST_F(SpeechEngineTest, PassesOverALibraryThatOrdinaryUsersCanChange) {
  ScratchFolder engineFolder;
  Install("stub_spchcfg.dll", engineFolder / "spchcfg.cpl");
  RecordEngineFolder(engineFolder.Path());
  Win32SpeechEngine checked{registry, {kEngineKey, "Bin"}};
  checked.CheckLibrary();
  EXPECT_EQ(checked.PassedOverLibrary(), engineFolder / "spchcfg.cpl");
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

std::string LoadedFrom(HMODULE library) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(library, path, MAX_PATH);
  return std::string(path, length);
}

bool FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The folders of this run's copies: <Windows>\Temp\twuninst-<process id>-*.
std::string RunsCopyFolders() {
  char windows[MAX_PATH];
  const std::string temp(windows, GetSystemWindowsDirectoryA(windows, MAX_PATH));
  char id[16];
  wsprintfA(id, "%08lx", GetCurrentProcessId());
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((temp + "\\Temp\\twuninst-" + id + "-*").c_str(), &found);
  std::string names;
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    names += std::string(found.cFileName) + " ";
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

// What is loaded is a copy of the checked file in a folder of the run's own
// below the Windows folder's Temp, only the administrators' (not the engine
// folder's file by its path), and the copy goes with the engine.
TEST_F(SpeechEngineTest, LoadsAPrivateCopyOfTheCheckedLibraryAndRemovesItAfter) {
  ScratchFolder engineFolder;
  Install("stub_spchcfg.dll", engineFolder / "spchcfg.cpl");
  RecordEngineFolder(engineFolder.Path());
  if (!GiveToAdministrators(engineFolder / "spchcfg.cpl") || !GiveToAdministrators(engineFolder.Path())) {
    GTEST_SKIP() << "this system keeps no owner and access list set on a file";
  }
  std::string copyFolder;
  {
    Win32SpeechEngine fresh{registry, {kEngineKey, "Bin"}};
    EXPECT_EQ(fresh.UninstallSpeechUser(0, kInstance, "AB_CD", "navcd"), 1);
    const std::string loaded = LoadedFrom(GetModuleHandleA("spchcfg.cpl"));
    copyFolder = loaded.substr(0, loaded.find_last_of('\\'));
    char windows[MAX_PATH];
    const std::string temp(windows, GetSystemWindowsDirectoryA(windows, MAX_PATH));
    EXPECT_EQ(copyFolder.substr(0, temp.size() + 15), temp + "\\Temp\\twuninst-") << loaded;
    const HANDLE folder = CreateFileA(copyFolder.c_str(), READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    EXPECT_TRUE(folder != INVALID_HANDLE_VALUE && OnlyAdministratorsCanWrite(folder)) << copyFolder;
    if (folder != INVALID_HANDLE_VALUE) CloseHandle(folder);
  }
  EXPECT_EQ(GetModuleHandleA("spchcfg.cpl"), nullptr);
  EXPECT_FALSE(FolderExists(copyFolder)) << copyFolder;
  EXPECT_EQ(RunsCopyFolders(), "");
}

// The engine's race: Bin is renamed away, and a user's own put in its place,
// between the check of its rights and the load. The copy is read through the
// checked handle: the checked library is loaded, never the planted one.
TEST_F(SpeechEngineTest, ACopyIsOfTheCheckedFileWhenItsFolderIsRenamedAwayMeanwhile) {
  ScratchFolder scratch;
  ASSERT_TRUE(CreateDirectoryA((scratch / "Bin").c_str(), nullptr));
  Install("stub_spchcfg.dll", scratch / "Bin\\spchcfg.cpl");
  const HANDLE checked = CreateFileA((scratch / "Bin\\spchcfg.cpl").c_str(), FILE_READ_DATA | READ_CONTROL,
                                     FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(checked, INVALID_HANDLE_VALUE);
  if (!MoveFileA((scratch / "Bin").c_str(), (scratch / "Moved").c_str())) {
    CloseHandle(checked);
    GTEST_SKIP() << "this system renames no folder with a file held open in it (error " << GetLastError() << ")";
  }
  ASSERT_TRUE(CreateDirectoryA((scratch / "Bin").c_str(), nullptr));
  Install("stub_without_export.dll", scratch / "Bin\\spchcfg.cpl");

  auto copy = std::make_unique<LibraryCopy>();
  const HMODULE library = copy->Load(checked, L"spchcfg.cpl");
  CloseHandle(checked);
  if (library == nullptr) {
    // Refused whole: no folder of this run's left behind.
    EXPECT_EQ(RunsCopyFolders(), "");
    if (!GiveToAdministrators(scratch / "Moved")) {
      GTEST_SKIP() << "this system keeps no owner and access list set on a file: the copy's folder is refused";
    }
    FAIL() << "the copy could not be made or loaded";
  }
  EXPECT_NE(GetProcAddress(library, "UninstallSpeechUser"), nullptr);
  const std::string loaded = LoadedFrom(library);
  EXPECT_EQ(loaded.find(scratch.Path()), std::string::npos) << loaded;
  copy.reset();
  EXPECT_EQ(GetModuleHandleA("spchcfg.cpl"), nullptr);
  EXPECT_FALSE(FolderExists(loaded.substr(0, loaded.find_last_of('\\')))) << loaded;
}

}  // namespace
}  // namespace tw::win32test
