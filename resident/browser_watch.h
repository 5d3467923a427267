#pragma once
// The browser watch: at each tick every top-level window is looked at, and
// a browser whose last window has closed since the previous tick is
// reported once, so its history can be swept. Portable: the judging only.
#include <array>
#include <string_view>
#include <vector>

namespace tarnwell {

// In the order their sweeps run.
enum class Browser { IE, Netscape, Opera, AOL, FireFox };
inline constexpr int kBrowserCount = 5;

class TBrowserWatch {
public:
    // One top-level window of the tick in progress. A window of the
    // Mozilla classes counts for FireFox, and also for Netscape when its
    // title holds "netscape" in any letter case.
    void See(std::string_view className, std::string_view title);
    // Ends the tick: the browsers seen at the previous tick and not at
    // this one, in sweeping order.
    std::vector<Browser> EndTick();

private:
    void Mark(Browser browser) { seenNow_[static_cast<int>(browser)] = true; }

    std::array<bool, kBrowserCount> seenBefore_{};
    std::array<bool, kBrowserCount> seenNow_{};
};

}  // namespace tarnwell
