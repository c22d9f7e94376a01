// The Win32 implementation on the running system: a scratch key below
// HKEY_CURRENT_USER and a scratch folder on drive C:, both removed at the end.
// The code page is the process's active one, set from outside (under Wine by
// the locale of the run).
#include <windows.h>
#include <sddl.h>

#include <stdexcept>

#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_log_file.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_removal_lock.h"
#include "platform/win32/win32_user_folders.h"
#include "tests/contract/contract_world.h"
#include "tests/support/win32/native_registry.h"

namespace tw::contract {
namespace {

namespace fs = std::filesystem;

// The lock held by another thread: the mutex belongs to the thread that
// took it, and one thread's second Take would only count up.
class ThreadHolder : public OtherLockHolder {
 public:
  ThreadHolder()
      : ready_(CreateEventW(nullptr, FALSE, FALSE, nullptr)), order_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    thread_ = CreateThread(nullptr, 0, &ThreadHolder::Run, this, 0, nullptr);
    WaitForSingleObject(ready_, INFINITE);
  }
  ~ThreadHolder() override {
    if (!ordered_) Order(0, false);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    CloseHandle(ready_);
    CloseHandle(order_);
  }
  RemovalLock::Taken Taken() const override { return taken_; }
  void GiveDuringAWait(std::uint32_t waitMilliseconds) override { Order(waitMilliseconds, false); }
  void AbandonDuringAWait(std::uint32_t waitMilliseconds) override { Order(waitMilliseconds, true); }

 private:
  void Order(std::uint32_t delay, bool abandon) {
    delay_ = delay;
    abandon_ = abandon;
    ordered_ = true;
    SetEvent(order_);
  }
  static DWORD WINAPI Run(void* self) {
    auto& holder = *static_cast<ThreadHolder*>(self);
    Win32RemovalLock lock;
    holder.taken_ = lock.Take(0);
    SetEvent(holder.ready_);
    WaitForSingleObject(holder.order_, INFINITE);
    Sleep(holder.delay_);
    // Abandoned: the thread ends owning the mutex.
    if (!holder.abandon_) lock.Give();
    return 0;
  }

  HANDLE ready_;
  HANDLE order_;
  HANDLE thread_ = nullptr;
  RemovalLock::Taken taken_ = RemovalLock::Taken::kRefused;
  std::uint32_t delay_ = 0;
  bool abandon_ = false;
  bool ordered_ = false;
};

class Win32World : public ContractWorld {
 public:
  Win32World()
      : scratchKey_("Software\\TwContract\\" + ScratchName("")),
        scratchFolder_("C:\\" + ScratchName("twcontract-")) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, scratchKey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
      throw std::runtime_error("cannot create the scratch key");
    }
    RegCloseKey(key);
    if (!CreateDirectoryA(scratchFolder_.c_str(), nullptr)) throw std::runtime_error("cannot create " + scratchFolder_);
  }

  ~Win32World() override {
    if (squat_ != nullptr) CloseHandle(squat_);
    RegDeleteTreeA(HKEY_CURRENT_USER, scratchKey_.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, scratchKey_.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\TwContract");  // only when no other run uses it
    std::error_code error;
    // Read-only files would stop the removal.
    for (const auto& entry : fs::recursive_directory_iterator(scratchFolder_, error)) {
      fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, error);
    }
    fs::remove_all(scratchFolder_, error);
  }

  Registry& registry() override { return registry_; }
  FileSystem& files() override { return files_; }
  UserFolders& userFolders() override { return user_; }
  const CodePage* CodePageFor(unsigned codePage, std::string* whyNot) override {
    if (GetACP() == codePage) return &codePage_;
    *whyNot = "the active code page is " + std::to_string(GetACP()) + ", not " + std::to_string(codePage) +
              " (under Wine the locale of the run chooses it: LC_ALL=zh_CN.UTF-8 gives 936)";
    return nullptr;
  }
  const CodePage& ActiveCodePage() override { return codePage_; }
  Status CreateLink(RegKey parent, const std::string& name, RegKey targetRoot,
                    const std::string& targetPath) override {
    return test::NativeCreateLink(parent, name, targetRoot, targetPath);
  }
  Status CreateKeyNamed(RegKey parent, const std::string& name) override {
    return test::NativeCreateKey(parent, name);
  }
  Status SetValueNamed(RegKey key, const std::string& name, ValueType type,
                       const std::vector<std::uint8_t>& data) override {
    return test::NativeSetValue(key, name, type, data);
  }
  Status DeleteKeyNamed(RegKey parent, const std::string& name) override {
    return test::NativeDeleteKey(parent, name);
  }
  std::unique_ptr<LogFile> MakeLogFile() override { return std::make_unique<Win32LogFile>(); }
  std::unique_ptr<RemovalLock> MakeRemovalLock() override { return std::make_unique<Win32RemovalLock>(); }
  std::unique_ptr<OtherLockHolder> HoldRemovalLockElsewhere() override { return std::make_unique<ThreadHolder>(); }
  // The global name the lock falls back to, made by the Users group for
  // everyone; where the system has private namespaces, not the lock's name.
  bool SquatRemovalLock() override {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"O:BUD:(A;;GA;;;WD)", SDDL_REVISION_1, &descriptor,
                                                              nullptr)) {
      throw std::runtime_error("cannot make the squatter's descriptor");
    }
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    squat_ = CreateMutexW(&attributes, FALSE, L"Global\\Corvane Talkwise removal");
    LocalFree(descriptor);
    if (squat_ == nullptr) throw std::runtime_error("cannot squat the lock's name");
    HANDLE boundary = CreateBoundaryDescriptorW(L"probe", 0);
    if (boundary == nullptr) return true;
    DeleteBoundaryDescriptor(boundary);
    return false;
  }
  // Saved by RegSaveKey from a key of the scratch key's, as Windows writes a hive.
  bool MakeHiveFile(const std::string& windowsPath, std::string* whyNot) override {
    HANDLE token = nullptr;
    TOKEN_PRIVILEGES backup{1, {{{0, 0}, SE_PRIVILEGE_ENABLED}}};
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)) {
      if (LookupPrivilegeValueW(nullptr, L"SeBackupPrivilege", &backup.Privileges[0].Luid)) {
        AdjustTokenPrivileges(token, FALSE, &backup, 0, nullptr, nullptr);
      }
      CloseHandle(token);
    }
    HKEY hive = nullptr;
    HKEY sub = nullptr;
    const std::string path = scratchKey_ + "\\hive-to-be";
    bool made = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hive, nullptr) ==
                    ERROR_SUCCESS &&
                RegSetValueExA(hive, "kept", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2) == ERROR_SUCCESS &&
                RegCreateKeyExA(hive, "Sub", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr) == ERROR_SUCCESS;
    if (sub) RegCloseKey(sub);
    const LONG saved = made ? RegSaveKeyA(hive, windowsPath.c_str(), nullptr) : ERROR_INVALID_FUNCTION;
    if (hive) RegCloseKey(hive);
    RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    if (saved != ERROR_SUCCESS) *whyNot = "RegSaveKey failed with " + std::to_string(saved);
    return saved == ERROR_SUCCESS;
  }
  const std::string& ScratchKey() const override { return scratchKey_; }
  const std::string& ScratchFolder() const override { return scratchFolder_; }
  fs::path Host(const std::string& windowsPath) const override { return windowsPath; }

 private:
  Win32Registry registry_;
  Win32FileSystem files_;
  Win32UserFolders user_;
  Win32CodePage codePage_;
  std::string scratchKey_;
  std::string scratchFolder_;
  HANDLE squat_ = nullptr;
};

}  // namespace

std::unique_ptr<ContractWorld> MakeMachineWorld() { return std::make_unique<Win32World>(); }

}  // namespace tw::contract
