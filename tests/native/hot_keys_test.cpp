#include <gtest/gtest.h>

#include "resident/hot_keys.h"

namespace tarnwell {
namespace {

TEST(ShortCutToHotKey, SplitsKeyAndModifiers) {
    const auto ctrlAltZ = ShortCutToHotKey(49242);  // the default stealth key
    ASSERT_TRUE(ctrlAltZ);
    EXPECT_EQ(ctrlAltZ->key, 0x5Au);
    EXPECT_EQ(ctrlAltZ->modifiers, kModControl | kModAlt);
    const auto ctrlShiftH = ShortCutToHotKey(0x4000 | 0x2000 | 'H');
    ASSERT_TRUE(ctrlShiftH);
    EXPECT_EQ(ctrlShiftH->key, static_cast<unsigned>('H'));
    EXPECT_EQ(ctrlShiftH->modifiers, kModControl | kModShift);
    const auto plainF9 = ShortCutToHotKey(0x78);
    ASSERT_TRUE(plainF9);
    EXPECT_EQ(plainF9->modifiers, 0u);
}

TEST(ShortCutToHotKey, CodesNoKeyPressGivesAreRefused) {
    EXPECT_FALSE(ShortCutToHotKey(0));
    EXPECT_FALSE(ShortCutToHotKey(0x4000 | 0x8000));  // modifiers without a key
    EXPECT_FALSE(ShortCutToHotKey(-1));
    EXPECT_FALSE(ShortCutToHotKey(0x1005A));           // a bit above Alt
    EXPECT_FALSE(ShortCutToHotKey(0x1000 | 'Z'));      // a bit between the key and Shift
}

TEST(IsBrowserWindowClass, ExactClassNamesOnly) {
    for (const char* name : {"IEFrame", "AOL Frame25", "OpWindow", "MozillaWindowClass", "MozillaUIWindowClass"})
        EXPECT_TRUE(IsBrowserWindowClass(name)) << name;
    for (const char* name : {"ieframe", "IEFrame ", "Notepad", "", "MozillaWindowClass2"})
        EXPECT_FALSE(IsBrowserWindowClass(name)) << name;
}

}  // namespace
}  // namespace tarnwell
