#include "resident/hot_keys_win.h"

namespace tarnwell {

void THotKeys::Register(bool bossKey, bool stealthKey, int stealthShortcut) {
    boss_ = ::GlobalAddAtomA(kBossKeyAtomName);
    if (bossKey && boss_) ::RegisterHotKey(window_, boss_, kBossKeyModifiers, kBossKeyCode);
    TakeStealthKey(stealthKey, stealthShortcut);
}

void THotKeys::SetStealthKey(bool stealthKey, int stealthShortcut) {
    if (stealth_) {
        ::UnregisterHotKey(window_, stealth_);
        ::GlobalDeleteAtom(stealth_);
        stealth_ = 0;
    }
    TakeStealthKey(stealthKey, stealthShortcut);
}

void THotKeys::TakeStealthKey(bool stealthKey, int stealthShortcut) {
    stealth_ = ::GlobalAddAtomA(kStealthKeyAtomName);
    const std::optional<HotKeyParts> keys = ShortCutToHotKey(stealthShortcut);
    if (stealthKey && stealth_ && keys) ::RegisterHotKey(window_, stealth_, keys->modifiers, keys->key);
}

void THotKeys::Release() {
    if (stealth_) ::UnregisterHotKey(window_, stealth_);
    if (boss_) ::UnregisterHotKey(window_, boss_);
    if (stealth_) ::GlobalDeleteAtom(stealth_);
    if (boss_) ::GlobalDeleteAtom(boss_);
    stealth_ = boss_ = 0;
}

namespace {

BOOL CALLBACK ToggleIfBrowser(HWND window, LPARAM) {
    char className[80] = {};
    if (::GetClassNameA(window, className, sizeof className) && IsBrowserWindowClass(className))
        ::ShowWindow(window, ::IsWindowVisible(window) ? SW_HIDE : SW_SHOWNA);
    return TRUE;  // every window is looked at
}

}  // namespace

void ToggleBrowserWindows() { ::EnumWindows(ToggleIfBrowser, 0); }

}  // namespace tarnwell
