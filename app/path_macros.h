#pragma once
// Expansion of the macros that plug-in paths may contain: "%DRIVE%" (the
// drive of the profile folder) and "%USERNAME%", matched in any letter case.
#include <string>
#include <string_view>

namespace tarnwell {

// Replaces every occurrence of `macro` (compared without regard to ASCII
// letter case) with `value`. Replaced text is never searched again.
std::string ReplaceAllNoCase(std::string_view text, std::string_view macro, std::string_view value);

// "%DRIVE%" becomes the first two characters of `profileRoot` ("C:") and
// "%USERNAME%" becomes `userName`, wherever they stand and in any letter
// case; nothing is added, so a file's path stays a file's path.
std::string ExpandMacros(std::string_view path, std::string_view profileRoot, std::string_view userName);

// A folder's path: ExpandMacros, always ending with a backslash.
std::string ExpandPathMacros(std::string_view path, std::string_view profileRoot, std::string_view userName);

// Appends a backslash unless the text already ends with one.
std::string WithTrailingBackslash(std::string text);
// `text` without its closing backslashes.
std::string WithoutTrailingBackslash(std::string text);

}  // namespace tarnwell
