#pragma once
// The two notices the resident program shows (a sweep started, a popup was
// killed), the limits a tray balloon puts on them, and where the notice
// window of the older shells sits. Portable: no Windows headers.
#include <cstddef>
#include <string>
#include <string_view>

namespace tarnwell {

struct NoticeText {
    std::string title;
    std::string text;
};

// Shown by Sweep All and by the browser watch.
NoticeText SweepingNotice();
// Shown for every popup killed, with the count of all killed so far.
NoticeText PopupNotice(unsigned long killedCount);

// A balloon's title and text fields hold 64 and 256 characters with the
// terminating zero.
inline constexpr size_t kBalloonTitleLimit = 63;
inline constexpr size_t kBalloonTextLimit = 255;
// At most `limit` characters of `text`.
std::string CutToLimit(std::string_view text, size_t limit);

// The notice window's bottom-right corner sits this far in from the
// virtual desktop's bottom-right corner.
inline constexpr int kNoticeMargin = 15;

struct NoticeOrigin {
    int left;
    int top;
};

// The top-left corner of a `width` by `height` notice window on a desktop
// whose right and bottom edges are given: a desktop whose origin is not
// 0,0 (a monitor left of or above the primary one) still holds it.
NoticeOrigin NoticePlacement(int desktopRight, int desktopBottom, int width, int height);

}  // namespace tarnwell
