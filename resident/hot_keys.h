#pragma once
// The two system-wide keys: the boss key (Ctrl+Alt+Space), which hides and
// shows every browser window, and the stealth key (Ctrl+Alt+Z unless the
// user sets another), which hides and shows the tray icon. Portable: the
// names, the key split and the browser classes.
#include <optional>
#include <string_view>

namespace tarnwell {

// The global atoms whose values identify the two keys.
inline constexpr const char* kBossKeyAtomName = "TW #6523";
inline constexpr const char* kStealthKeyAtomName = "TW #6522";

// RegisterHotKey's modifier flags and the boss key's fixed combination.
inline constexpr unsigned kModAlt = 1, kModControl = 2, kModShift = 4;
inline constexpr unsigned kBossKeyModifiers = kModControl | kModAlt;
inline constexpr unsigned kBossKeyCode = 0x20;  // VK_SPACE

struct HotKeyParts {
    unsigned modifiers;  // kModAlt | kModControl | kModShift
    unsigned key;        // virtual-key code
};

// A shortcut code (key in the low byte, 0x2000 Shift, 0x4000 Ctrl, 0x8000
// Alt) split for RegisterHotKey; none for a code without a key or with
// bits outside those, which no key press can produce.
std::optional<HotKeyParts> ShortCutToHotKey(int shortcut);

// Whether a top-level window of this class is a web browser's main window.
bool IsBrowserWindowClass(std::string_view className);

}  // namespace tarnwell
