// The shared vocabulary is passed to the Win32 calls unchanged, so every
// value must be the SDK's own. The predefined registry roots and the invalid
// search handle are pointer constants, which no constant expression can
// compare; the registry and the file system map those by name.
#include <windows.h>

#include "platform/file_system.h"
#include "platform/types.h"

namespace tw {

static_assert(sizeof(Status) == sizeof(LONG) && sizeof(Status) == sizeof(DWORD));
static_assert(sizeof(RegKey) == sizeof(HKEY));
static_assert(sizeof(AccessMask) == sizeof(REGSAM));
static_assert(sizeof(ValueType) == sizeof(DWORD));
static_assert(sizeof(InstanceHandle) == sizeof(HINSTANCE));
static_assert(sizeof(WindowHandle) == sizeof(HWND));
static_assert(sizeof(ComResult) == sizeof(HRESULT));
static_assert(sizeof(FindHandle) == sizeof(HANDLE));

static_assert(kErrorSuccess == ERROR_SUCCESS);
static_assert(kErrorFileNotFound == ERROR_FILE_NOT_FOUND);
static_assert(kErrorPathNotFound == ERROR_PATH_NOT_FOUND);
static_assert(kErrorAccessDenied == ERROR_ACCESS_DENIED);
static_assert(kErrorInvalidHandle == ERROR_INVALID_HANDLE);
static_assert(kErrorNoMoreFiles == ERROR_NO_MORE_FILES);
static_assert(kErrorSharingViolation == ERROR_SHARING_VIOLATION);
static_assert(kErrorBadNetpath == ERROR_BAD_NETPATH);
static_assert(kErrorInvalidParameter == ERROR_INVALID_PARAMETER);
static_assert(kErrorDirNotEmpty == ERROR_DIR_NOT_EMPTY);
static_assert(kErrorBadPathname == ERROR_BAD_PATHNAME);
static_assert(kErrorDirectory == ERROR_DIRECTORY);
static_assert(kErrorMoreData == ERROR_MORE_DATA);
static_assert(kErrorNoMoreItems == ERROR_NO_MORE_ITEMS);
static_assert(kErrorKeyDeleted == ERROR_KEY_DELETED);

static_assert(kKeyQueryValue == KEY_QUERY_VALUE);
static_assert(kKeySetValue == KEY_SET_VALUE);
static_assert(kKeyCreateSubKey == KEY_CREATE_SUB_KEY);
static_assert(kKeyEnumerateSubKeys == KEY_ENUMERATE_SUB_KEYS);
static_assert(kKeyCreateLink == KEY_CREATE_LINK);
static_assert(kDelete == DELETE);
static_assert(kWriteDac == WRITE_DAC);
static_assert(kWriteOwner == WRITE_OWNER);
static_assert(kKeyRead == KEY_READ);
static_assert(kKeyAllAccess == KEY_ALL_ACCESS);

static_assert(kRegNone == REG_NONE);
static_assert(kRegSz == REG_SZ);
static_assert(kRegExpandSz == REG_EXPAND_SZ);
static_assert(kRegBinary == REG_BINARY);
static_assert(kRegDword == REG_DWORD);
static_assert(kRegMultiSz == REG_MULTI_SZ);
static_assert(kRegQword == REG_QWORD);

static_assert(kFileAttributeReadOnly == FILE_ATTRIBUTE_READONLY);
static_assert(kFileAttributeDirectory == FILE_ATTRIBUTE_DIRECTORY);
static_assert(kFileAttributeArchive == FILE_ATTRIBUTE_ARCHIVE);
static_assert(kFileAttributeNormal == FILE_ATTRIBUTE_NORMAL);
static_assert(kFileAttributeReparsePoint == FILE_ATTRIBUTE_REPARSE_POINT);
static_assert(kInvalidFileAttributes == INVALID_FILE_ATTRIBUTES);

static_assert(kMbOk == MB_OK);
static_assert(kMbYesNo == MB_YESNO);
static_assert(kMbIconQuestion == MB_ICONQUESTION);
static_assert(kMbIconExclamation == MB_ICONEXCLAMATION);
static_assert(kIdYes == IDYES);
static_assert(kIdNo == IDNO);

static_assert(kSwShow == SW_SHOW);

static_assert(kSOk == S_OK);
static_assert(kEFail == E_FAIL);

}  // namespace tw
