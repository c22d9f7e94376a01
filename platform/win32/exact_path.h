// Handles to the very object a path names. A user who can write in a folder
// can swap a sub-folder for a junction or symbolic link at any moment; an
// elevated delete or write that follows it reaches somewhere else. Opening
// first and checking the opened object's own final path closes that window:
// what the handle holds cannot be swapped any more.
#pragma once

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace tw {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Given to every open of a path a user can influence: should a link or name
// lead to a pipe, its server can only identify the run, never act as it.
constexpr DWORD kIdentifyOnly = SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION;

// Opens the object at path (its last component itself, also when it is a
// link). Refused with ERROR_ACCESS_DENIED when the object lies elsewhere than
// the path says, which is what a link at any level of the path does.
HANDLE OpenAtExactPath(const wchar_t* path, DWORD access, DWORD share);
// The same for a path in the active code page, shared for everything.
HANDLE OpenAtExactPath(const char* path, DWORD access);

// Whether path names, exactly, a file that is neither a folder nor a link;
// with singleName, also one that has no other name (a hard link would carry a
// write to another file). False when it cannot be opened (see GetLastError).
bool IsPlainFileAt(const wchar_t* path, bool singleName);

// The opened object's final path, "C:\dir" or "\\server\share\dir" (no
// "\\?\" prefix); empty when the system cannot tell it.
WideText FinalPathOf(HANDLE handle);

// GetFullPathNameW's full form of path; empty when it has none.
WideText FullPathOf(const wchar_t* path);

// Whether the opened object's final path is the full form of path: reached
// through no link or junction, and a short (8.3) name in it is refused too.
bool LiesAt(HANDLE handle, const wchar_t* path);

}  // namespace tw
