#include <gtest/gtest.h>

#include "app/path_macros.h"

namespace tarnwell {
namespace {

TEST(ExpandPathMacros, AnyLetterCaseAndRepeats) {
    EXPECT_EQ(ExpandPathMacros("%drive%\\Users\\%UserName%\\x\\%DRIVE%", "C:\\Documents and Settings\\ann", "ann"),
              "C:\\Users\\ann\\x\\C:\\");
    EXPECT_EQ(ExpandPathMacros("%USERNAME%%username%", "D:\\p", "bo"), "bobo\\");
}

TEST(ExpandPathMacros, TrailingBackslashAddedOnce) {
    EXPECT_EQ(ExpandPathMacros("%DRIVE%\\Temp\\", "C:\\WINDOWS", "x"), "C:\\Temp\\");
    EXPECT_EQ(ExpandPathMacros("%DRIVE%\\Temp", "C:\\WINDOWS", "x"), "C:\\Temp\\");
}

TEST(ExpandPathMacros, ReplacementIsNotSearchedAgain) {
    // A user name that itself looks like a macro stays as it is.
    EXPECT_EQ(ExpandPathMacros("%USERNAME%", "C:\\", "%DRIVE%"), "%DRIVE%\\");
    EXPECT_EQ(ExpandPathMacros("%DRIVE%", "C:\\", "u"), "C:\\");
}

TEST(ExpandPathMacros, EmptyUserNameAndPartialMacros) {
    EXPECT_EQ(ExpandPathMacros("a\\%USERNAME%\\b", "C:", ""), "a\\\\b\\");
    EXPECT_EQ(ExpandPathMacros("%DRIVE\\%USER%", "C:", "u"), "%DRIVE\\%USER%\\");
}

TEST(ExpandMacros, AddsNoBackslash) {
    EXPECT_EQ(ExpandMacros("%Drive%\\Logs\\%USERNAME%.log", "D:\\Profiles\\bo", "bo"), "D:\\Logs\\bo.log");
    EXPECT_EQ(ExpandMacros("%DRIVE%", "C:\\WINDOWS", "u"), "C:");
    EXPECT_EQ(ExpandMacros("", "C:\\WINDOWS", "u"), "");
}

}  // namespace
}  // namespace tarnwell
