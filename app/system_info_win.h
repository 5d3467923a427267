#pragma once
// Facts about the running system and user that start-up decides by.
#include <string>

#include "app/os_flags.h"

namespace tarnwell {

OsFlags DetectOsFlags();           // all false when the version cannot be read
bool IsUserAdministrator();        // member of the built-in Administrators group
std::string ProgramDirectory();    // folder of the running program, with trailing backslash

}  // namespace tarnwell
