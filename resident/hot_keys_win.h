#pragma once
// The boss and stealth keys registered for the main window. Each key is
// identified by a global atom that exists from start-up to exit, whether
// or not its key could be registered.
#include "base/win.h"
#include "resident/hot_keys.h"

namespace tarnwell {

class THotKeys {
public:
    explicit THotKeys(HWND window) : window_(window) {}
    THotKeys(const THotKeys&) = delete;
    THotKeys& operator=(const THotKeys&) = delete;

    // Start-up, one key after the other; a key is registered only when its
    // box is checked. A combination another program holds, or a stored
    // stealth key no key press can give, is not reported.
    void Register(bool bossKey, bool stealthKey, int stealthShortcut);
    // "Set": the stealth key is released at once and taken again with the
    // combination now shown.
    void SetStealthKey(bool stealthKey, int stealthShortcut);
    bool IsBossKey(WPARAM id) const { return boss_ != 0 && id == boss_; }
    bool IsStealthKey(WPARAM id) const { return stealth_ != 0 && id == stealth_; }
    // Exit: the stealth key, the boss key, then both atoms.
    void Release();

private:
    void TakeStealthKey(bool stealthKey, int stealthShortcut);

    HWND window_;
    ATOM boss_ = 0;
    ATOM stealth_ = 0;
};

// Hides every visible browser window and shows every hidden one without
// activating it, each on its own.
void ToggleBrowserWindows();

}  // namespace tarnwell
