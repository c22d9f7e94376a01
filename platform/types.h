// Win32-shaped vocabulary shared by every platform implementation. The values
// are those of the Windows SDK so that the Win32 layer maps them one to one;
// the names differ from the SDK macros so that this header can sit next to
// <windows.h> without being rewritten by the preprocessor.
#pragma once

#include <cstdint>

namespace tw {

using Status = std::int32_t;  // LONG / DWORD error codes
using RegKey = std::uintptr_t;  // HKEY
using AccessMask = std::uint32_t;  // REGSAM
using ValueType = std::uint32_t;  // REG_*
using InstanceHandle = std::uintptr_t;  // HINSTANCE
using WindowHandle = std::uintptr_t;  // HWND
using ComResult = std::int32_t;  // HRESULT

constexpr Status kErrorSuccess = 0;
constexpr Status kErrorFileNotFound = 2;
constexpr Status kErrorPathNotFound = 3;
constexpr Status kErrorAccessDenied = 5;
constexpr Status kErrorInvalidHandle = 6;
constexpr Status kErrorNoMoreFiles = 18;
constexpr Status kErrorSharingViolation = 32;
constexpr Status kErrorBadNetpath = 53;
constexpr Status kErrorInvalidParameter = 87;
constexpr Status kErrorDirNotEmpty = 145;
constexpr Status kErrorBadPathname = 161;
constexpr Status kErrorDirectory = 267;
constexpr Status kErrorMoreData = 234;
constexpr Status kErrorNoMoreItems = 259;
constexpr Status kErrorKeyDeleted = 1018;
constexpr Status kErrorAlreadyExists = 183;

constexpr RegKey kHkeyCurrentUser = 0x80000001u;
constexpr RegKey kHkeyLocalMachine = 0x80000002u;
constexpr RegKey kHkeyUsers = 0x80000003u;

constexpr AccessMask kKeyQueryValue = 0x0001;
constexpr AccessMask kKeySetValue = 0x0002;
constexpr AccessMask kKeyCreateSubKey = 0x0004;
constexpr AccessMask kKeyEnumerateSubKeys = 0x0008;
constexpr AccessMask kKeyCreateLink = 0x0020;
constexpr AccessMask kDelete = 0x10000;
constexpr AccessMask kWriteDac = 0x40000;
constexpr AccessMask kWriteOwner = 0x80000;
constexpr AccessMask kKeyRead = 0x20019;
constexpr AccessMask kKeyAllAccess = 0xF003F;
// Not an access right but a bit no right uses: OpenKey does not follow a
// registry link named by the last part of the path (REG_OPTION_OPEN_LINK);
// the Win32 layer passes it on as the open's option.
constexpr AccessMask kKeyOpenLink = 0x08000000;

constexpr ValueType kRegNone = 0;
constexpr ValueType kRegSz = 1;
constexpr ValueType kRegExpandSz = 2;
constexpr ValueType kRegBinary = 3;
constexpr ValueType kRegDword = 4;
constexpr ValueType kRegLink = 6;
constexpr ValueType kRegMultiSz = 7;
constexpr ValueType kRegQword = 11;

// A registry link holds its target in this one value, of type kRegLink.
constexpr const char* kRegLinkValueName = "SymbolicLinkValue";
// The registry's own limits, in characters with the terminating NUL.
constexpr std::uint32_t kRegKeyNameCapacity = 256;
constexpr std::uint32_t kRegValueNameCapacity = 16384;

constexpr std::uint32_t kFileAttributeReadOnly = 0x0001;
constexpr std::uint32_t kFileAttributeDirectory = 0x0010;
constexpr std::uint32_t kFileAttributeArchive = 0x0020;
constexpr std::uint32_t kFileAttributeNormal = 0x0080;
constexpr std::uint32_t kFileAttributeReparsePoint = 0x0400;
constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;

constexpr std::uint32_t kMbOk = 0x00;
constexpr std::uint32_t kMbYesNo = 0x04;
constexpr std::uint32_t kMbIconQuestion = 0x20;
constexpr std::uint32_t kMbIconExclamation = 0x30;
constexpr std::uint32_t kMbIconInformation = 0x40;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

constexpr std::uint32_t kSwShow = 5;

constexpr ComResult kSOk = 0;
constexpr ComResult kEFail = static_cast<ComResult>(0x80004005u);
constexpr ComResult kEAccessDenied = static_cast<ComResult>(0x80070005u);

}  // namespace tw
