#include <gtest/gtest.h>

#include "base/ini_text.h"

namespace tarnwell {
namespace {

TEST(IniText, UntouchedTextComesBackWithCrlf) {
    const IniText ini = IniText::Parse("; note\n[Other]\nKeep=me\n\n[Settings]\r\nA=1\r\nlast line");
    EXPECT_EQ(ini.Serialize(), "; note\r\n[Other]\r\nKeep=me\r\n\r\n[Settings]\r\nA=1\r\nlast line\r\n");
    EXPECT_EQ(IniText::Parse("").Serialize(), "");
}

TEST(IniText, NamesMatchInAnyCaseAndBlanksDoNotCount) {
    const IniText ini = IniText::Parse("  [ settings ]  \r\n  IEAllCB_Checked =  tRUE  \r\nPath=  C:\\a b  \r\n");
    EXPECT_EQ(ini.Get("Settings", "ieallcb_checked"), "tRUE");
    EXPECT_EQ(ini.Get("SETTINGS", "path"), "C:\\a b");
    EXPECT_EQ(ini.Get("Settings", "Missing"), std::nullopt);
    EXPECT_EQ(ini.Get("Other", "Path"), std::nullopt);
    EXPECT_TRUE(ini.HasSection("Settings"));
}

TEST(IniText, EnclosingQuotesAreDiscarded) {
    const IniText ini = IniText::Parse("[S]\r\nA= \"x y\" \r\nB='z'\r\nC=\"w'\r\nD=\"\r\n");
    EXPECT_EQ(ini.Get("S", "A"), "x y");
    EXPECT_EQ(ini.Get("S", "B"), "z");
    EXPECT_EQ(ini.Get("S", "C"), "\"w'");
    EXPECT_EQ(ini.Get("S", "D"), "\"");
}

TEST(IniText, FirstSectionAndFirstKeyHold) {
    const IniText ini = IniText::Parse("[S]\r\nA=1\r\nA=2\r\n[S]\r\nA=3\r\nB=4\r\n");
    EXPECT_EQ(ini.Get("S", "A"), "1");
    EXPECT_EQ(ini.Get("S", "B"), std::nullopt);
}

TEST(IniText, CommentsHoldNoKeysAndBareNamesReadEmpty) {
    const IniText ini = IniText::Parse("[S]\r\n;A=1\r\nB\r\n[Settings\r\n");
    EXPECT_EQ(ini.Get("S", ";A"), std::nullopt);
    EXPECT_EQ(ini.Get("S", "A"), std::nullopt);
    EXPECT_EQ(ini.Get("S", "B"), "");
    EXPECT_FALSE(ini.HasSection("Settings"));  // no closing bracket: not a header
}

TEST(IniText, SetReplacesInPlaceAndAddsAfterTheSectionsLastEntry) {
    IniText ini = IniText::Parse("[Other]\r\nKeep=me\r\n[Settings]\r\nUnknownKey=42\r\n a = old \r\n\r\n[Next]\r\nX=1\r\n");
    ini.Set("SETTINGS", {{"A", "new"}, {"FormVersion", "0"}});
    EXPECT_EQ(ini.Serialize(),
              "[Other]\r\nKeep=me\r\n[Settings]\r\nUnknownKey=42\r\nA=new\r\nFormVersion=0\r\n\r\n[Next]\r\nX=1\r\n");
}

TEST(IniText, SetAddsAMissingSectionAtTheEnd) {
    IniText ini = IniText::Parse("[Other]\nKeep=me");
    ini.Set("Settings", {{"A", "1"}, {"B", ""}});
    EXPECT_EQ(ini.Serialize(), "[Other]\r\nKeep=me\r\n[Settings]\r\nA=1\r\nB=\r\n");
}

TEST(IniText, LineBreaksInValuesBecomeBlanks) {
    IniText ini;
    ini.Set("S", {{"A", "one\r\ntwo"}});
    EXPECT_EQ(ini.Serialize(), "[S]\r\nA=one  two\r\n");
}

TEST(IniText, ReplaceSectionTakesTheFirstOnesPlaceAndDropsTheOthers) {
    IniText ini = IniText::Parse("[a]\r\n[Keep]\r\nCount=9\r\n;old\r\n[b]\r\nX=1\r\n[KEEP]\r\nItem0=z\r\n");
    ini.ReplaceSection("keep", {{"Count", "1"}, {"Item0", "x"}});
    EXPECT_EQ(ini.Serialize(), "[a]\r\n[keep]\r\nCount=1\r\nItem0=x\r\n[b]\r\nX=1\r\n");
}

TEST(IniText, EmptyReplacementLeavesNoSection) {
    IniText ini = IniText::Parse("[Settings]\r\nA=1\r\n[Settings.DstList_Items]\r\nCount=1\r\nItem0=x\r\n");
    ini.ReplaceSection("Settings.DstList_Items", {});
    EXPECT_EQ(ini.Serialize(), "[Settings]\r\nA=1\r\n");
    ini.ReplaceSection("Absent", {});
    EXPECT_EQ(ini.Serialize(), "[Settings]\r\nA=1\r\n");
}

TEST(IniText, ReplacingAMissingSectionAddsItAtTheEnd) {
    IniText ini = IniText::Parse("[Settings]\r\nA=1\r\n");
    ini.ReplaceSection("L", {{"Count", "0"}});
    EXPECT_EQ(ini.Serialize(), "[Settings]\r\nA=1\r\n[L]\r\nCount=0\r\n");
}

TEST(IniText, SectionsListEverySectionInFileOrder) {
    const IniText ini = IniText::Parse(
        "Loose=before any section\r\n"
        "[ First ]\r\n; comment\r\n\r\n A = \"x y\" \r\nB\r\na=2\r\n"
        "[Empty]\r\n"
        "[first]\r\nC='z'\r\n[Unclosed\r\n");
    const std::vector<IniSection> expected = {
        {"First", {{"A", "x y"}, {"B", ""}, {"a", "2"}}},
        {"Empty", {}},
        {"first", {{"C", "z"}, {"[Unclosed", ""}}},
    };
    const std::vector<IniSection> sections = ini.Sections();
    ASSERT_EQ(sections.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(sections[i].name, expected[i].name) << i;
        EXPECT_EQ(sections[i].keys, expected[i].keys) << i;
    }
    EXPECT_TRUE(IniText::Parse("no sections\r\nA=1\r\n").Sections().empty());
}

TEST(IniText, SectionsReadValuesAsGetDoes) {
    const IniText ini = IniText::Parse("[S]\r\nA= \"q\" \r\nB='w\r\nC=\"\r\n\tD\t=\t'' \r\n");
    const auto sections = ini.Sections();
    ASSERT_EQ(sections.size(), 1u);
    for (const auto& [name, value] : sections[0].keys) EXPECT_EQ(ini.Get("S", name), value) << name;
    EXPECT_EQ(sections[0].keys.size(), 4u);
}

}  // namespace
}  // namespace tarnwell
