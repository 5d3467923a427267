#include <gtest/gtest.h>

#include "engine/mask.h"

namespace tarnwell {
namespace {

bool Match(const char* mask, const char* name) {
    auto compiled = TMask::Compile(mask);
    EXPECT_TRUE(compiled.mask) << compiled.error;
    return compiled.mask && compiled.mask->Matches(name);
}

std::string ErrorOf(const char* mask) { return TMask::Compile(mask).error; }

TEST(Mask, StarsQuestionMarksAndLiterals) {
    EXPECT_TRUE(Match("*", ""));
    EXPECT_TRUE(Match("*", "anything.at.all"));
    EXPECT_TRUE(Match("*.*", "a.b"));
    EXPECT_FALSE(Match("*.*", "noextension"));
    EXPECT_TRUE(Match("file*.chk", "FILE0001.CHK"));
    EXPECT_TRUE(Match("file*.chk", "file.chk"));
    EXPECT_FALSE(Match("file*.chk", "file0001.chk.bak"));
    EXPECT_FALSE(Match("file*.chk", "afile1.chk"));
    EXPECT_TRUE(Match("?b?", "abc"));
    EXPECT_FALSE(Match("?b?", "ab"));
    EXPECT_TRUE(Match("*?", ""));  // "?" after "*" is absorbed
    EXPECT_TRUE(Match("a**b", "ab"));
    EXPECT_TRUE(Match("*a*b*c", "xxaybbzc"));
    EXPECT_FALSE(Match("*a*b*c", "xxaybbzcd"));
    EXPECT_TRUE(Match("index.dat", "INDEX.DAT"));
    EXPECT_FALSE(Match("", "a"));
    EXPECT_TRUE(Match("", ""));
}

TEST(Mask, SetsRangesAndNegation) {
    EXPECT_TRUE(Match("[a-c]*", "Bravo"));
    EXPECT_FALSE(Match("[a-c]*", "delta"));
    EXPECT_TRUE(Match("[!0-9]x", "ax"));
    EXPECT_FALSE(Match("[!0-9]x", "5x"));
    EXPECT_EQ(ErrorOf("[0-9-]"), "'[0-9-]' is an invalid mask at (5)");  // a range uses up its start
    EXPECT_TRUE(Match("[xyz]", "Y"));
    EXPECT_TRUE(Match("*.[tl]og", "a.log"));
}

TEST(Mask, InvalidMasksNameTheirPosition) {
    EXPECT_EQ(ErrorOf("[abc"), "'[abc' is an invalid mask at (5)");
    EXPECT_EQ(ErrorOf("a[]"), "'a[]' is an invalid mask at (3)");
    EXPECT_EQ(ErrorOf("[!]"), "'[!]' is an invalid mask at (3)");
    EXPECT_EQ(ErrorOf("[-a]"), "'[-a]' is an invalid mask at (2)");
    EXPECT_EQ(ErrorOf("*a"), "");
}

TEST(Mask, AtMostThirtyPositionsAfterAStar) {
    std::string ok, tooMany;
    for (int i = 0; i < 30; ++i) ok += "*a";
    EXPECT_TRUE(TMask::Compile(ok).mask);
    EXPECT_TRUE(TMask::Compile(ok.substr(0, 58) + "*").mask);  // a trailing star is the 30th
    tooMany = ok + "*";  // the trailing star makes 31
    EXPECT_EQ(TMask::Compile(tooMany).error, "'" + tooMany + "' is an invalid mask at (61)");
    EXPECT_TRUE(TMask::Compile(std::string(200, 'x')).mask);  // literals alone are not limited
    EXPECT_TRUE(TMask::Compile("***a").mask);                 // a run of stars counts once
}

TEST(Mask, ManyStarsStayFast) {
    std::string mask;
    for (int i = 0; i < 30; ++i) mask += "*a";
    auto compiled = TMask::Compile(mask + "b");
    ASSERT_TRUE(compiled.mask);
    EXPECT_FALSE(compiled.mask->Matches(std::string(250, 'a')));
    EXPECT_TRUE(compiled.mask->Matches(std::string(250, 'a') + "b"));
}

TEST(MaskList, ElementsAreTrimmedAndTheEndAddsNothing) {
    const MaskList list = ParseMaskList("*.txt; *.log ;index.dat;");
    ASSERT_EQ(list.masks.size(), 3u);
    EXPECT_EQ(list.masks[0].Text(), "*.txt");
    EXPECT_EQ(list.masks[1].Text(), "*.log");
    EXPECT_EQ(list.masks[2].Text(), "index.dat");
    EXPECT_TRUE(list.Matches("a.LOG"));
    EXPECT_FALSE(list.Matches("a.dat"));
    EXPECT_TRUE(ParseMaskList("").masks.empty());
    EXPECT_FALSE(ParseMaskList("").Matches("x"));
    EXPECT_EQ(ParseMaskList(";;*.a;").masks.size(), 1u);  // empty elements add nothing
    EXPECT_EQ(ParseMaskList("my file.txt").masks[0].Text(), "my file.txt");
}

TEST(MaskList, AnInvalidElementStopsTheList) {
    const MaskList list = ParseMaskList("*.a;[x;*.b");
    EXPECT_EQ(list.error, "'[x' is an invalid mask at (3)");
    EXPECT_EQ(list.masks.size(), 1u);
}

}  // namespace
}  // namespace tarnwell
