#pragma once
// The Locate feature of the AOL tabs: when start-up did not find the AOL
// "organize" folder, a dialog searches a drive for folders of that name
// and lets the user pick one.
#include <optional>
#include <string>

#include "base/win.h"

namespace tarnwell {

// Shows the locate dialog modally over `owner`, searching below
// `startFolder` for folders whose name matches `pattern` ("*organize*");
// the folder the user saves, with a trailing backslash; nothing when
// cancelled or nothing was selected.
std::optional<std::string> LocateDirectory(HWND owner, HFONT font, const std::string& startFolder,
                                           const std::string& pattern);

// The folder the locate search starts from (HKLM Shell Folders "Common
// AppData", then "%Common AppData%" expanded, then profileRoot +
// "\Application Data\", then the profile's drive root).
std::string LocateStartFolder(const std::string& profileRoot);

}  // namespace tarnwell
