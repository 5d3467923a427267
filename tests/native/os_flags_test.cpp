#include <gtest/gtest.h>

#include "app/os_flags.h"

namespace tarnwell {
namespace {

struct Case {
    const char* name;
    int platform;
    unsigned major, minor;
    bool nt, me, oldShell, ntPlatform;
};

TEST(OsFlags, EveryFamilyGetsItsFlags) {
    const Case cases[] = {
        {"Win32s", 0, 3, 10, false, false, true, false},
        {"Windows 95", 1, 4, 0, false, false, true, false},
        {"Windows 98", 1, 4, 10, false, false, true, false},
        {"Windows 98 SE", 1, 4, 10, false, false, true, false},
        {"Windows ME", 1, 4, 90, false, true, false, false},
        {"9x above 4", 1, 5, 0, false, false, false, false},
        {"NT 3.51", 2, 3, 51, true, false, true, true},
        {"NT 4", 2, 4, 0, true, false, true, true},
        {"Windows 2000", 2, 5, 0, true, false, false, true},
        {"Windows XP", 2, 5, 1, true, false, false, true},
        {"Windows 7", 2, 6, 1, true, false, false, true},
    };
    for (const Case& c : cases) {
        const OsFlags f = OsFlagsFor(c.platform, c.major, c.minor);
        EXPECT_EQ(f.IsNT, c.nt) << c.name;
        EXPECT_EQ(f.IsWinME, c.me) << c.name;
        EXPECT_EQ(f.IsOldShell, c.oldShell) << c.name;
        EXPECT_EQ(f.IsNTPlatform, c.ntPlatform) << c.name;
    }
}

TEST(OsFlags, UnknownPlatformSetsNothingButOldShellStaysOff) {
    const OsFlags f = OsFlagsFor(3, 5, 0);
    EXPECT_FALSE(f.IsNT || f.IsWinME || f.IsOldShell || f.IsNTPlatform);
}

}  // namespace
}  // namespace tarnwell
