// The profile path's variables come from the machine alone: a variable of the
// process's environment (which the user's HKCU\Environment helps make) is
// not known, and neither is one whose machine value names another variable.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/machine_environment.h"

namespace tw::win32test {
namespace {

constexpr wchar_t kSystemEnvironment[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

// A value of the system environment for the test's time; false when the
// process may not write there.
class MachineVariable {
 public:
  MachineVariable(const wchar_t* name, const wchar_t* value) : name_(name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSystemEnvironment, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    set_ = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                          static_cast<DWORD>((lstrlenW(value) + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    RegCloseKey(key);
  }
  ~MachineVariable() {
    HKEY key = nullptr;
    if (!set_ || RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSystemEnvironment, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueW(key, name_);
    RegCloseKey(key);
  }
  bool Set() const { return set_; }

 private:
  const wchar_t* name_;
  bool set_ = false;
};

TEST(MachineEnvironmentTest, OnlyTheMachinesOwnValuesExpand) {
  wchar_t windows[MAX_PATH];
  const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
  ASSERT_GT(length, 2u);
  const WideText root(windows, length);
  EXPECT_EQ(ExpandWithMachineVariables(L"%SystemRoot%\\system32\\config\\systemprofile"),
            root + L"\\system32\\config\\systemprofile");
  EXPECT_EQ(ExpandWithMachineVariables(L"%SYSTEMDRIVE%\\Users\\Ann"), root.substr(0, 2) + L"\\Users\\Ann");
  EXPECT_EQ(ExpandWithMachineVariables(L"C:\\Users\\Ann"), L"C:\\Users\\Ann");

  // The user's variable, in the environment as HKCU\Environment puts it, and
  // the process's own spelling of SystemRoot: neither is the machine's.
  wchar_t drive[16] = {};
  const DWORD driveLength = GetEnvironmentVariableW(L"SystemDrive", drive, 16);
  ASSERT_TRUE(SetEnvironmentVariableW(L"TWPROFILES", L"C:\\twprofiles"));
  ASSERT_TRUE(SetEnvironmentVariableW(L"SystemDrive", L"Q:"));
  EXPECT_EQ(ExpandWithMachineVariables(L"%TWPROFILES%\\profile"), L"");
  EXPECT_EQ(ExpandWithMachineVariables(L"%SystemDrive%\\Users\\Ann"), root.substr(0, 2) + L"\\Users\\Ann");
  SetEnvironmentVariableW(L"TWPROFILES", nullptr);
  SetEnvironmentVariableW(L"SystemDrive", driveLength > 0 && driveLength < 16 ? drive : nullptr);
  int index = 0;
  for (const wchar_t* unknown : {L"%%\\Ann", L"C:\\100%\\Ann", L"%SystemRoot", L"%TWNOSUCHVARIABLE%"}) {
    EXPECT_EQ(ExpandWithMachineVariables(unknown), L"") << "case " << index++;
  }

  const MachineVariable plain(L"TWMACHINEPROFILES", L"C:\\machine");
  const MachineVariable nested(L"TWNESTEDPROFILES", L"%TWPROFILES%\\x");
  if (!plain.Set() || !nested.Set()) GTEST_SKIP() << "the system environment cannot be written here";
  EXPECT_EQ(ExpandWithMachineVariables(L"%TWMACHINEPROFILES%\\Ann"), L"C:\\machine\\Ann");
  EXPECT_EQ(ExpandWithMachineVariables(L"%twmachineprofiles%\\Ann"), L"C:\\machine\\Ann");
  EXPECT_EQ(ExpandWithMachineVariables(L"%TWNESTEDPROFILES%\\Ann"), L"");
}

}  // namespace
}  // namespace tw::win32test
