#include <gtest/gtest.h>

#include "base/setting_value.h"

namespace tarnwell {
namespace {

TEST(SettingValue, BooleansInAnyLetterCase) {
    EXPECT_EQ(ParseBool("True"), true);
    EXPECT_EQ(ParseBool("tRUE"), true);
    EXPECT_EQ(ParseBool("FALSE"), false);
    EXPECT_EQ(ParseBool("  false "), false);
    EXPECT_EQ(ParseBool("1"), std::nullopt);
    EXPECT_EQ(ParseBool("yes"), std::nullopt);
    EXPECT_EQ(ParseBool(""), std::nullopt);
    EXPECT_EQ(ParseBool("Truex"), std::nullopt);
    EXPECT_EQ(BoolText(true), "True");
    EXPECT_EQ(BoolText(false), "False");
}

TEST(SettingValue, IntegersAreDecimalOnly) {
    EXPECT_EQ(ParseInt("50"), 50);
    EXPECT_EQ(ParseInt(" -7 "), -7);
    EXPECT_EQ(ParseInt("+12"), 12);
    EXPECT_EQ(ParseInt("49242"), 49242);
    EXPECT_EQ(ParseInt("$10"), 0);
    EXPECT_EQ(ParseInt("0x10"), 0);
    EXPECT_EQ(ParseInt("12abc"), 0);
    EXPECT_EQ(ParseInt("1e3"), 0);
    EXPECT_EQ(ParseInt("-"), 0);
    EXPECT_EQ(ParseInt(""), 0);
    EXPECT_EQ(ParseInt("2147483647"), 2147483647);
    EXPECT_EQ(ParseInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseInt("2147483648"), 0);
    EXPECT_EQ(ParseInt("99999999999999999999999"), 0);
}

TEST(SettingValue, SpinEditKeys) {
    EXPECT_TRUE(SpinEditAcceptsKey("", '7'));
    EXPECT_TRUE(SpinEditAcceptsKey("1", '0'));
    EXPECT_FALSE(SpinEditAcceptsKey("1", 'a'));
    EXPECT_FALSE(SpinEditAcceptsKey("", '-'));
    EXPECT_FALSE(SpinEditAcceptsKey("1", ' '));
    EXPECT_TRUE(SpinEditAcceptsKey("12", '\b'));  // backspace
    EXPECT_EQ(TryParseInt("x"), std::nullopt);
    EXPECT_EQ(TryParseInt(" 0 "), 0);
}

TEST(SettingValue, TextIsTrimmed) {
    EXPECT_EQ(TrimBlanks("  C:\\Opera\\ \t"), "C:\\Opera\\");
    EXPECT_EQ(TrimBlanks("   "), "");
    EXPECT_EQ(TrimBlanks("a b"), "a b");
}

TEST(SettingValue, TransparencyRoundsHalvesToEven) {
    EXPECT_EQ(AlphaForTransparency(0), 255);
    EXPECT_EQ(AlphaForTransparency(10), 230);
    EXPECT_EQ(AlphaForTransparency(30), 178);
    EXPECT_EQ(AlphaForTransparency(50), 128);
    EXPECT_EQ(AlphaForTransparency(70), 76);
    EXPECT_EQ(AlphaForTransparency(90), 26);
    EXPECT_EQ(AlphaForTransparency(1), 252);  // 252.45
    EXPECT_EQ(AlphaForTransparency(3), 247);  // 247.35
}

TEST(SettingValue, ShortcutCodesRoundTrip) {
    EXPECT_EQ(HotKeyWordFromShortcut(49242), 0x0600 | 'Z');  // Ctrl+Alt+Z
    EXPECT_EQ(ShortcutFromHotKeyWord(0x0600 | 'Z'), 49242);
    EXPECT_EQ(ShortcutFromHotKeyWord(HotKeyWordFromShortcut(0x2000 | 0x70)), 0x2070);  // Shift+F1
    EXPECT_EQ(ShortcutFromHotKeyWord(0), 0);
}

}  // namespace
}  // namespace tarnwell
