#include "platform/win32/win32_log_file.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <string>

#include "platform/win32/administrators_only.h"
#include "platform/win32/exact_path.h"
#include "platform/win32/wide_text.h"

namespace tw {
namespace {

// Whether the opened file is one the log may go into: a plain file on disk
// with no other name, not the link or junction that stood at the path.
bool IsPlainSingleFile(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION information{};
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &information)) return false;
  const DWORD refused = FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE;
  return (information.dwFileAttributes & refused) == 0 && information.nNumberOfLinks == 1;
}

// Whether the folder that a new file at the full path goes into is reached
// through no link or junction, checked before the file is made there.
bool FolderIsWherePathSays(const WideText& full) {
  const std::size_t lastSeparator = full.rfind(L'\\');
  if (lastSeparator == WideText::npos) return false;
  // A drive's root keeps its backslash.
  const WideText folder = full.substr(0, lastSeparator == 2 ? 3 : lastSeparator);
  HANDLE handle = CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | kIdentifyOnly, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const bool where = LiesAt(handle, folder.c_str());
  CloseHandle(handle);
  return where;
}

// Whether the process runs with an administrator's full token. When that
// cannot be told, it is taken to: the log's checks then apply.
bool ProcessIsElevated() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return true;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  const BOOL known = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
  CloseHandle(token);
  return !known || elevation.TokenIsElevated != 0;
}

// The process's token user, read into buffer; null when it cannot be read.
struct alignas(TOKEN_USER) TokenUserBuffer {
  BYTE bytes[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
};
PSID ProcessUser(TokenUserBuffer* buffer) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return nullptr;
  DWORD size = 0;
  const bool read = GetTokenInformation(token, TokenUser, buffer->bytes, sizeof buffer->bytes, &size);
  CloseHandle(token);
  return read ? reinterpret_cast<TOKEN_USER*>(buffer->bytes)->User.Sid : nullptr;
}

bool IsProcessUser(PSID sid) {
  TokenUserBuffer buffer;
  const PSID user = ProcessUser(&buffer);
  return user != nullptr && EqualSid(user, sid);
}

// Whether the file's owner is Administrators, SYSTEM or the user the process
// runs as: an elevated run writes into no file that an ordinary user made
// and can therefore read, rewrite or swap the rights of.
bool HasTrustedOwner(HANDLE file) {
  return OwnerIsTrusted(file, SE_FILE_OBJECT, [](PSID owner) {
    return IsWellKnownSid(owner, WinBuiltinAdministratorsSid) || IsWellKnownSid(owner, WinLocalSystemSid) ||
           IsProcessUser(owner);
  });
}

// The entry that lets the process's own user append to its log in later
// runs, needed only when neither Administrators nor SYSTEM covers that user
// (an elevation by privileges alone); empty otherwise. Whoever is granted the
// log can also hold it open and so block the next run.
WideText OwnUserEntry() {
  BYTE administrators[SECURITY_MAX_SID_SIZE];
  DWORD sidSize = sizeof administrators;
  BOOL member = FALSE;
  if (CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &sidSize) &&
      CheckTokenMembership(nullptr, administrators, &member) && member) {
    return WideText();
  }
  TokenUserBuffer buffer;
  const PSID user = ProcessUser(&buffer);
  wchar_t* sid = nullptr;
  if (user == nullptr || IsWellKnownSid(user, WinLocalSystemSid) || !ConvertSidToStringSidW(user, &sid)) {
    return WideText();
  }
  const WideText entry = WideText(L"(A;;FA;;;") + sid + L")";
  LocalFree(sid);
  return entry;
}

// What an elevated run gives a log it makes: SYSTEM and Administrators may do
// anything, other users nothing. Not even reading: a reader who shares for
// reading only keeps every later append out, and no way of opening gets past
// that. Nothing is inherited from a folder that users may write.
struct AdminOnlySecurity {
  SECURITY_ATTRIBUTES attributes{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
  AdminOnlySecurity() {
    const WideText descriptor = L"D:P(A;;FA;;;SY)(A;;FA;;;BA)" + OwnUserEntry();
    ConvertStringSecurityDescriptorToSecurityDescriptorW(descriptor.c_str(), SDDL_REVISION_1,
                                                         &attributes.lpSecurityDescriptor, nullptr);
  }
  ~AdminOnlySecurity() { LocalFree(attributes.lpSecurityDescriptor); }
  AdminOnlySecurity(const AdminOnlySecurity&) = delete;
  AdminOnlySecurity& operator=(const AdminOnlySecurity&) = delete;
};

}  // namespace

Win32LogFile::~Win32LogFile() {
  if (handle_ != nullptr) CloseHandle(handle_);
}

Status Win32LogFile::Open(const char* path) {
  const WideText widePath = WidenFromActiveCodePage(path);
  if (widePath.empty()) return ERROR_INVALID_NAME;
  const WideText full = FullPathOf(widePath.c_str());
  // Append-only access never truncates; opening the reparse point itself
  // keeps a link planted at the path from leading elsewhere, and the final
  // path a junction planted in one of its folders. A missing file is made
  // only in a folder reached without one; a junction planted there in the
  // meantime is still refused, the new file left empty.
  // Elevated, a file made now gets rights that ordinary users cannot write
  // by, and one found is taken only from a trusted owner; a kill between the
  // making and the check leaves an empty file of that kind.
  const bool elevated = ProcessIsElevated();
  AdminOnlySecurity adminOnly;
  if (elevated && adminOnly.attributes.lpSecurityDescriptor == nullptr) return static_cast<Status>(GetLastError());
  const DWORD access = FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | READ_CONTROL;
  const DWORD flags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT | kIdentifyOnly;
  HANDLE file = CreateFileW(widePath.c_str(), access, FILE_SHARE_READ, nullptr, OPEN_EXISTING, flags, nullptr);
  if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND) {
    if (!FolderIsWherePathSays(full)) return ERROR_ACCESS_DENIED;
    SECURITY_ATTRIBUTES* security = elevated ? &adminOnly.attributes : nullptr;
    file = CreateFileW(widePath.c_str(), access, FILE_SHARE_READ, security, CREATE_NEW, flags, nullptr);
  }
  if (file == INVALID_HANDLE_VALUE) return static_cast<Status>(GetLastError());
  if (!IsPlainSingleFile(file) || !LiesAt(file, full.c_str()) || (elevated && !HasTrustedOwner(file))) {
    CloseHandle(file);
    return ERROR_ACCESS_DENIED;
  }
  handle_ = file;
  return kErrorSuccess;
}

Status Win32LogFile::AppendLine(const std::string& text) {
  if (handle_ == nullptr) return ERROR_INVALID_HANDLE;
  const std::string line = text + "\r\n";
  DWORD written = 0;
  if (!WriteFile(handle_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr)) {
    return static_cast<Status>(GetLastError());
  }
  return written == line.size() ? kErrorSuccess : static_cast<Status>(ERROR_WRITE_FAULT);
}

std::string Win32LogFile::LocalTime() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const auto two = [](WORD number) { return std::string(number < 10 ? "0" : "") + std::to_string(number); };
  return std::to_string(now.wYear) + "-" + two(now.wMonth) + "-" + two(now.wDay) + " " + two(now.wHour) + ":" +
         two(now.wMinute) + ":" + two(now.wSecond);
}

}  // namespace tw
