#include <gtest/gtest.h>

#include "resident/browser_watch.h"

namespace tarnwell {
namespace {

using Closed = std::vector<Browser>;

TEST(BrowserWatch, ABrowserIsReportedOnceAtTheFirstTickWithoutItsWindows) {
    TBrowserWatch watch;
    watch.See("IEFrame", "Home - Browser");
    watch.See("Notepad", "untitled");
    EXPECT_EQ(watch.EndTick(), Closed{});  // open at start: nothing yet
    watch.See("IEFrame", "Home - Browser");
    EXPECT_EQ(watch.EndTick(), Closed{});
    EXPECT_EQ(watch.EndTick(), Closed{Browser::IE});
    EXPECT_EQ(watch.EndTick(), Closed{});  // later ticks while it stays closed
}

TEST(BrowserWatch, SeveralClosedInOneTickComeInSweepingOrder) {
    TBrowserWatch watch;
    watch.See("AOL Frame25", "");
    watch.See("OpWindow", "");
    watch.See("IEFrame", "");
    watch.EndTick();
    watch.See("IEFrame", "");
    EXPECT_EQ(watch.EndTick(), (Closed{Browser::Opera, Browser::AOL}));
}

TEST(BrowserWatch, NetscapeTitledMozillaWindowCountsForBoth) {
    TBrowserWatch watch;
    watch.See("MozillaWindowClass", "Start page - NETSCAPE");
    watch.See("MozillaUIWindowClass", "Mozilla Firefox");
    watch.EndTick();
    EXPECT_EQ(watch.EndTick(), (Closed{Browser::Netscape, Browser::FireFox}));
    watch.See("MozillaWindowClass", "Mozilla Firefox");
    watch.EndTick();
    EXPECT_EQ(watch.EndTick(), Closed{Browser::FireFox});
}

TEST(BrowserWatch, ClassNamesAreComparedExactly) {
    TBrowserWatch watch;
    for (const char* name : {"ieframe", "IEFrame2", "OpWindow ", "AOL Frame2"}) watch.See(name, "netscape");
    watch.EndTick();
    EXPECT_EQ(watch.EndTick(), Closed{});
}

}  // namespace
}  // namespace tarnwell
