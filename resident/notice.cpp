#include "resident/notice.h"

namespace tarnwell {

NoticeText SweepingNotice() {
    return {"Tarnwell: Sweeping History...",
            "Performing automatic background detection, random overwrite, and removal of your selected history "
            "files..."};
}

NoticeText PopupNotice(unsigned long killedCount) {
    return {"Tarnwell: Popup Killed...",
            "Enable/Disable all popups by toggling Scroll Lock. Hold down the CTRL key and click for a new window. " +
                std::to_string(killedCount) + " total popups killed."};
}

std::string CutToLimit(std::string_view text, size_t limit) { return std::string(text.substr(0, limit)); }

NoticeOrigin NoticePlacement(int desktopRight, int desktopBottom, int width, int height) {
    return {desktopRight - width - kNoticeMargin, desktopBottom - height - kNoticeMargin};
}

}  // namespace tarnwell
