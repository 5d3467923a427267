#pragma once
// Whether the popup blocker lets a new window open: the allow and block
// lists by host, the filter level, and the user's overrides. Portable: no
// Windows headers.
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

// The stored filter level, the index of the list dialog's level box.
enum class PopupLevel {
    High = 0,    // kill every popup
    Medium = 1,  // kill the popups a page opens by itself
    Low = 2,     // as Medium, but allow every popup of a secure page
};

// A stored level text ("0", "1", "2"); anything else is High.
PopupLevel PopupLevelFromText(std::string_view text);

struct PopupPolicy {
    std::vector<std::string> allow;  // hosts whose popups always open
    std::vector<std::string> block;  // hosts whose popups never open
    PopupLevel level = PopupLevel::High;
};

struct PopupRequest {
    std::string openerUrl;  // the page that asks for the new window
    bool userClicked = false;  // the window opens from the user's click
    bool ctrlHeld = false;     // the user holds CTRL: let it through
    bool scrollLockOn = false; // Scroll Lock toggled on: the blocker rests
};

// True when the popup is to be killed. The overrides come first, then the
// allow list, then the block list, then the level.
bool ShouldKillPopup(const PopupPolicy& policy, const PopupRequest& request);

}  // namespace tarnwell
