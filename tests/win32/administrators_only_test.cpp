// The access-list walk that decides whether the engine's folder and library
// are the administrators' alone, over descriptors built with the system's own
// calls; and what the running system says of a folder a test made.
#include <windows.h>

#include <aclapi.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include <string>

#include "platform/win32/administrators_only.h"
#include "tests/win32/scratch_folder.h"

namespace tw::win32test {
namespace {

#define TW_TRUSTED_INSTALLER L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"

bool OnlyAdministrators(const wchar_t* sddl) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  EXPECT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr));
  if (descriptor == nullptr) return false;
  const bool only = GrantsWritingToAdministratorsOnly(descriptor);
  LocalFree(descriptor);
  return only;
}

TEST(AdministratorsOnlyTest, WalksTheOwnerAndEveryEntryOfTheAccessList) {
  struct Case {
    const wchar_t* sddl;
    bool only;
  };
  const Case cases[] = {
      {L"O:BAD:(A;;FA;;;SY)(A;;FA;;;BA)(A;;FRFX;;;BU)", true},
      {L"O:SYD:(A;;FA;;;SY)", true},
      {L"O:" TW_TRUSTED_INSTALLER L"D:(A;;FA;;;" TW_TRUSTED_INSTALLER L")(A;;FRFX;;;WD)", true},
      {L"O:BAD:", true},                                     // an empty list: nobody but the owner
      {L"O:BAD:(D;;FA;;;BU)(A;;FA;;;BA)", true},             // a denial grants nothing
      {L"O:BAD:(A;OICIIO;GA;;;CO)(A;;FA;;;BA)", true},       // CREATOR OWNER: whoever may create
      {L"O:BUD:(A;;FA;;;BA)", false},                        // owned by an ordinary user
      {L"O:BA", false},                                      // no access list at all
      {L"O:BAD:(A;;FA;;;BA)(A;;0x1301bf;;;AU)", false},      // Modify for Authenticated Users
      {L"O:BAD:(A;;FA;;;BA)(A;OICIIO;GA;;;AU)", false},      // granted to what is created below
      {L"O:BAD:(A;;FA;;;BA)(A;;0x4;;;BU)", false},           // add a sub-folder / append
      {L"O:BAD:(A;;FA;;;BA)(A;;0x2;;;BU)", false},           // add a file / write
      {L"O:BAD:(A;;FA;;;BA)(A;;0x40;;;BU)", false},          // delete an entry
      {L"O:BAD:(A;;FA;;;BA)(A;;SD;;;WD)", false},            // delete
      {L"O:BAD:(A;;FA;;;BA)(A;;WD;;;BU)", false},            // change the permissions
      {L"O:BAD:(A;;FA;;;BA)(A;;WO;;;BU)", false},            // take ownership
      {L"O:BAD:(A;;FA;;;BA)(A;;GW;;;S-1-5-21-1-2-3-1001)", false},
  };
  for (const Case& each : cases) {
    EXPECT_EQ(OnlyAdministrators(each.sddl), each.only) << std::string(each.sddl, each.sddl + lstrlenW(each.sddl));
  }

  SECURITY_DESCRIPTOR nullList;  // everybody may do everything
  ASSERT_TRUE(InitializeSecurityDescriptor(&nullList, SECURITY_DESCRIPTOR_REVISION));
  BYTE administrators[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof administrators;
  ASSERT_TRUE(CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size));
  ASSERT_TRUE(SetSecurityDescriptorOwner(&nullList, administrators, FALSE));
  ASSERT_TRUE(SetSecurityDescriptorDacl(&nullList, TRUE, nullptr, FALSE));
  EXPECT_FALSE(GrantsWritingToAdministratorsOnly(&nullList));
}

// A folder a test makes belongs to the user who runs it, so not to the
// administrators alone.
TEST(AdministratorsOnlyTest, ReadsTheDescriptorOfAnOpenedFolder) {
  ScratchFolder folder;
  const HANDLE handle = CreateFileA(folder.Path().c_str(), READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(OnlyAdministratorsCanWrite(handle));
  CloseHandle(handle);
}

}  // namespace
}  // namespace tw::win32test
