#pragma once
// Conversion between stored property values and the texts kept in
// settings.ini. Portable: the Win32 store only moves these texts in and out.
#include <optional>
#include <string>
#include <string_view>

namespace tarnwell {

std::string BoolText(bool value);                       // "True" / "False"
std::optional<bool> ParseBool(std::string_view text);   // any letter case; none for anything else

std::string IntText(long long value);
// A decimal number with an optional sign and surrounding blanks; anything
// else (hex, junk, out of the 32-bit range) reads as 0.
int ParseInt(std::string_view text);
// The same rule, but none for text that is not a decimal number.
std::optional<int> TryParseInt(std::string_view text);

// A spin edit takes a typed character only while its text followed by the
// character still reads as an integer; editing keys (below a blank) always pass.
bool SpinEditAcceptsKey(std::string_view text, char key);

std::string TrimBlanks(std::string_view text);          // leading and trailing blanks and control characters

// Alpha value for the transparency slider: 255 - 2.55 * position, rounded
// to nearest with ties to even (position 50 gives 128).
int AlphaForTransparency(int position);

}  // namespace tarnwell

namespace tarnwell {

// Shortcut codes (key | 0x2000 Shift | 0x4000 Ctrl | 0x8000 Alt) and the
// word a hot-key control works with (key | modifier flags << 8, where the
// flags are 1 Shift, 2 Ctrl, 4 Alt).
int ShortcutFromHotKeyWord(int word);
int HotKeyWordFromShortcut(int shortcut);

}  // namespace tarnwell
