#include "platform/win32/win32_removal_lock.h"

#include <sddl.h>

#include "platform/win32/administrators_only.h"

namespace tw {
namespace {

constexpr const wchar_t* kBoundaryName = L"Corvane Talkwise";
constexpr const wchar_t* kNamespaceAlias = L"CorvaneTalkwise";
constexpr const wchar_t* kPrivateMutexName = L"CorvaneTalkwise\\Removal";
constexpr const wchar_t* kGlobalMutexName = L"Global\\Corvane Talkwise removal";
// Owned by Administrators; only Administrators and SYSTEM may use it at all.
constexpr const wchar_t* kAdministratorsOnly = L"O:BAD:P(A;;GA;;;BA)(A;;GA;;;SY)";

// Whoever made the mutex first chose its rights: only an owner that is
// Administrators or SYSTEM can be trusted to have made ours.
bool OwnedByAdministrators(HANDLE object) {
  return OwnerIsTrusted(object, SE_KERNEL_OBJECT, [](PSID owner) {
    return IsWellKnownSid(owner, WinBuiltinAdministratorsSid) || IsWellKnownSid(owner, WinLocalSystemSid);
  });
}

// The namespace that only a token holding the Administrators group can make
// or open; nullptr with *unsupported set when the system has none.
HANDLE OpenAdministratorsNamespace(SECURITY_ATTRIBUTES* attributes, bool* unsupported) {
  HANDLE boundary = CreateBoundaryDescriptorW(kBoundaryName, 0);
  if (boundary == nullptr) {
    *unsupported = true;
    return nullptr;
  }
  BYTE sid[SECURITY_MAX_SID_SIZE];
  DWORD sidSize = sizeof sid;
  HANDLE opened = nullptr;
  if (CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &sidSize) &&
      AddSIDToBoundaryDescriptor(&boundary, sid)) {
    opened = CreatePrivateNamespaceW(attributes, boundary, kNamespaceAlias);
    if (opened == nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
      opened = OpenPrivateNamespaceW(boundary, kNamespaceAlias);
    }
  }
  DeleteBoundaryDescriptor(boundary);
  return opened;
}

}  // namespace

bool Win32RemovalLock::Open() {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kAdministratorsOnly, SDDL_REVISION_1, &descriptor,
                                                            nullptr)) {
    return false;
  }
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
  bool unsupported = false;
  namespace_ = OpenAdministratorsNamespace(&attributes, &unsupported);
  if (namespace_ != nullptr || unsupported) {
    mutex_ = CreateMutexW(&attributes, FALSE, namespace_ != nullptr ? kPrivateMutexName : kGlobalMutexName);
  }
  LocalFree(descriptor);
  if (mutex_ == nullptr || !OwnedByAdministrators(mutex_)) {
    Close();
    return false;
  }
  return true;
}

void Win32RemovalLock::Close() {
  if (mutex_ != nullptr) CloseHandle(mutex_);
  if (namespace_ != nullptr) ClosePrivateNamespace(namespace_, 0);
  mutex_ = nullptr;
  namespace_ = nullptr;
  held_ = false;
}

RemovalLock::Taken Win32RemovalLock::Take(std::uint32_t waitMilliseconds) {
  if (held_) return Taken::kYes;
  if (mutex_ == nullptr && !Open()) return Taken::kRefused;
  switch (WaitForSingleObject(mutex_, waitMilliseconds)) {
    case WAIT_OBJECT_0: held_ = true; return Taken::kYes;
    case WAIT_ABANDONED: held_ = true; return Taken::kAbandoned;
    case WAIT_TIMEOUT: Close(); return Taken::kBusy;
    default: Close(); return Taken::kRefused;
  }
}

void Win32RemovalLock::Give() {
  if (held_) ReleaseMutex(mutex_);
  Close();
}

}  // namespace tw
