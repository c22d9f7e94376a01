#include "platform/win32/administrators_only.h"

#include <aclapi.h>

namespace tw {
namespace {

constexpr ACCESS_MASK kChangeRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_DELETE_CHILD |
                                      DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL |
                                      MAXIMUM_ALLOWED;

// Well-known SIDs; TrustedInstaller's is the service SID NT SERVICE\TrustedInstaller.
bool IsWellKnown(PSID sid, WELL_KNOWN_SID_TYPE type) { return IsWellKnownSid(sid, type) != FALSE; }

bool IsTrustedInstaller(PSID sid) {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID trustedInstaller = nullptr;
  if (!AllocateAndInitializeSid(&nt, 6, SECURITY_SERVICE_ID_BASE_RID, 956008885u, 3418522649u, 1831038044u,
                                1853292631u, 2271478464u, 0, 0, &trustedInstaller)) {
    return false;
  }
  const bool same = EqualSid(sid, trustedInstaller) != FALSE;
  FreeSid(trustedInstaller);
  return same;
}

bool IsAdministrative(PSID sid) {
  return IsValidSid(sid) && (IsWellKnown(sid, WinBuiltinAdministratorsSid) || IsWellKnown(sid, WinLocalSystemSid) ||
                             IsTrustedInstaller(sid));
}

// CREATOR OWNER only ever names who creates an entry below, which is itself a
// right checked here; OWNER RIGHTS names the owner, checked on its own.
bool StandsForAnOwner(PSID sid) {
  return IsWellKnown(sid, WinCreatorOwnerSid) || IsWellKnown(sid, WinCreatorOwnerRightsSid);
}

bool GrantsChangeToOthers(const ACE_HEADER* header) {
  if (header->AceType == ACCESS_DENIED_ACE_TYPE) return false;  // takes rights away only
  if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) return true;  // object and callback kinds: not known here
  const auto* ace = reinterpret_cast<const ACCESS_ALLOWED_ACE*>(header);
  if ((ace->Mask & kChangeRights) == 0) return false;
  const PSID sid = const_cast<DWORD*>(&ace->SidStart);
  return !IsAdministrative(sid) && !StandsForAnOwner(sid);
}

}  // namespace

bool GrantsWritingToAdministratorsOnly(PSECURITY_DESCRIPTOR descriptor) {
  PSID owner = nullptr;
  BOOL ownerDefaulted = FALSE;
  if (!GetSecurityDescriptorOwner(descriptor, &owner, &ownerDefaulted) || owner == nullptr ||
      !IsAdministrative(owner)) {
    return false;
  }
  BOOL present = FALSE;
  BOOL daclDefaulted = FALSE;
  PACL dacl = nullptr;
  if (!GetSecurityDescriptorDacl(descriptor, &present, &dacl, &daclDefaulted) || !present || dacl == nullptr) {
    return false;  // no access list: everybody may do everything
  }
  for (DWORD index = 0; index < dacl->AceCount; ++index) {
    void* ace = nullptr;
    if (!GetAce(dacl, index, &ace) || GrantsChangeToOthers(static_cast<const ACE_HEADER*>(ace))) return false;
  }
  return true;
}

bool OnlyAdministratorsCanWrite(HANDLE object) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(object, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr, nullptr,
                      nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
    return false;
  }
  const bool only = GrantsWritingToAdministratorsOnly(descriptor);
  LocalFree(descriptor);
  return only;
}

bool OwnerIsTrusted(HANDLE object, SE_OBJECT_TYPE type, bool (*trusts)(PSID owner)) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(object, type, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr, &descriptor) !=
      ERROR_SUCCESS) {
    return false;
  }
  const bool trusted = owner != nullptr && IsValidSid(owner) && trusts(owner);
  LocalFree(descriptor);
  return trusted;
}

}  // namespace tw
