#include "stand-ins/popup/popup_decision.h"

#include "resident/popup_lists.h"

namespace tarnwell {

PopupLevel PopupLevelFromText(std::string_view text) {
    if (text == "1") return PopupLevel::Medium;
    if (text == "2") return PopupLevel::Low;
    return PopupLevel::High;
}

bool ShouldKillPopup(const PopupPolicy& policy, const PopupRequest& request) {
    if (request.ctrlHeld || request.scrollLockOn) return false;
    const std::string host = HostFromUrl(request.openerUrl);
    if (ListHolds(policy.allow, host)) return false;
    if (ListHolds(policy.block, host)) return true;
    switch (policy.level) {
        case PopupLevel::High: return true;
        case PopupLevel::Medium: return !request.userClicked;
        case PopupLevel::Low: return !request.userClicked && !request.openerUrl.starts_with("https://");
    }
    return true;
}

}  // namespace tarnwell
