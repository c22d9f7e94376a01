// Whether a file or folder is the machine's administrators' alone. A library
// loaded into the elevated process runs with its rights: one that an
// ordinary user could replace, or plant a neighbour of, is not loaded.
#pragma once

#include <windows.h>
#include <aclapi.h>

namespace tw {

// True when the descriptor's owner is Administrators, SYSTEM or
// TrustedInstaller and no entry of its access list grants any other SID a
// right to change the object or its contents (writing, appending, adding or
// deleting entries, deleting, changing its permissions or owner), including
// entries only inherited by what is created in it. A missing or null access
// list, or an entry of a kind not known here, counts as writable.
bool GrantsWritingToAdministratorsOnly(PSECURITY_DESCRIPTOR descriptor);
// The same for the object an open handle holds (opened with READ_CONTROL).
bool OnlyAdministratorsCanWrite(HANDLE object);
// Whether trusts accepts the owner of the object an open handle holds (opened
// with READ_CONTROL); false when the owner cannot be read.
bool OwnerIsTrusted(HANDLE object, SE_OBJECT_TYPE type, bool (*trusts)(PSID owner));

}  // namespace tw
