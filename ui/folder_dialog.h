#pragma once
// The shell's folder picker, opened on the folder given when it exists.
#include <optional>
#include <string>

#include "base/win.h"

namespace tarnwell {

// The folder the user picked, without a trailing backslash (except a
// drive's root); nothing when the dialog was cancelled or the choice is
// not a folder of the file system.
std::optional<std::string> PickFolder(HWND owner, const char* title, const std::string& initial = {});

}  // namespace tarnwell
