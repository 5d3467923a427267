#pragma once
// Facts about the running system and user that start-up decides by.
#include <optional>
#include <string>
#include <vector>

#include "app/os_flags.h"
#include "app/sid_text.h"
#include "base/handles.h"

namespace tarnwell {

OsFlags DetectOsFlags();           // all false when the version cannot be read
bool IsUserAdministrator();        // member of the built-in Administrators group
std::string ProgramDirectory();    // folder of the running program, with trailing backslash

// Access tokens exist on the NT family only: the advapi32.dll of Windows
// 95, 98 and ME has at most failing stubs of these calls, so they are looked
// up by name and every answer there is "none".
// The token of this thread if `threadFirst` and it has one, else the process's.
KernelHandle OpenOwnToken(DWORD access, bool threadFirst);
// GetTokenInformation's whole answer, or nothing.
std::vector<unsigned char> TokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS what);
// The SID that `sid` points to inside `buffer` (token information holds its
// SIDs after the records that point to them), or nothing.
std::optional<SidParts> SidInBuffer(const std::vector<unsigned char>& buffer, const void* sid);

}  // namespace tarnwell
