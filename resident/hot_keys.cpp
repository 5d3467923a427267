#include "resident/hot_keys.h"

namespace tarnwell {

namespace {

constexpr int kShift = 0x2000, kCtrl = 0x4000, kAlt = 0x8000;

}  // namespace

std::optional<HotKeyParts> ShortCutToHotKey(int shortcut) {
    const unsigned key = static_cast<unsigned>(shortcut) & 0xFF;
    if (shortcut < 0 || key == 0 || (shortcut & ~(0xFF | kShift | kCtrl | kAlt)) != 0) return std::nullopt;
    unsigned modifiers = 0;
    if (shortcut & kAlt) modifiers |= kModAlt;
    if (shortcut & kCtrl) modifiers |= kModControl;
    if (shortcut & kShift) modifiers |= kModShift;
    return HotKeyParts{modifiers, key};
}

bool IsBrowserWindowClass(std::string_view className) {
    for (std::string_view browser : {"IEFrame", "AOL Frame25", "OpWindow", "MozillaWindowClass", "MozillaUIWindowClass"})
        if (className == browser) return true;
    return false;
}

}  // namespace tarnwell
