#include <gtest/gtest.h>

#include "categories/mozilla_files.h"

namespace tarnwell {
namespace {

using Lines = std::vector<std::string>;

TEST(BrowserFileLines, EveryLineEndAndNoneAtTheEnd) {
    EXPECT_EQ(BrowserFileLines("a\nb\r\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(BrowserFileLines("a\n\nb\n"), (Lines{"a", "", "b"}));
    EXPECT_EQ(BrowserFileLines(""), Lines{});
    EXPECT_EQ(JoinLines({"a", "", "b"}, "\r\n"), "a\r\n\r\nb\r\n");
    EXPECT_EQ(JoinLines({}, "\n"), "");
}

const char* kCookies =
    "# Netscape HTTP Cookie File\r\n"
    "# This is a generated file!  Do not edit.\r\n"
    "\r\n"
    "shop.example\tFALSE\t/\tFALSE\t0\tcart\t1\r\n"
    "News.Example\tFALSE\t/\tFALSE\t0\tid\t2\r\n"
    "ads.example\tFALSE\t/\tFALSE\t0\ttrack\t3\r\n"
    "no tab here\r\n";

TEST(KeptCookies, CommentsBlanksAndKeptDomainsStayWithLfEnds) {
    const std::string kept = KeptCookiesText(kCookies, KeepList({"news.example", "SHOP.EXAMPLE"}));
    EXPECT_EQ(kept,
              "# Netscape HTTP Cookie File\n# This is a generated file!  Do not edit.\n\n"
              "shop.example\tFALSE\t/\tFALSE\t0\tcart\t1\nNews.Example\tFALSE\t/\tFALSE\t0\tid\t2\n");
    // Nothing removed from a CR LF file: one byte less per line.
    const std::string all = "# c\r\n\r\nshop.example\tx\r\n";
    EXPECT_EQ(all.size() - KeptCookiesText(all, KeepList({"shop.example"})).size(), 3u);
    // A line without a TAB has an empty domain, which no entry equals.
    EXPECT_EQ(KeptCookiesText("lonely\n", KeepList({"lonely"})), "");
    EXPECT_EQ(KeptCookiesText("", KeepList({"a"})), "");
}

const Lines kToolbar = {
    "<RDF:Seq RDF:about=\"urn:x-netscape-toolbar:searchterms\">",
    "  <RDF:li RDF:resource=\"urn:x-netscape-toolbar:searchterm:cheap flights\"/>",
    "</RDF:Seq>",
    "<RDF:Description RDF:about=\"urn:x-netscape-toolbar:searchterm:cheap flights\"",
    "  NC:Name=\"cheap flights\"/>",
    "<!-- urn:x-netscape-toolbar:searchterm: mentioned only -->",
    "<RDF:Description RDF:about=\"urn:x-other\" NC:Name=\"kept\"/>",
};

TEST(ToolbarWalk, OneStoredTermCountsTwoAndGoesWithItsNameLine) {
    const ToolbarWalk counted = WalkToolbarLines(kToolbar, false);
    EXPECT_EQ(counted.count, 3);  // the list line, the description line, the mention
    EXPECT_EQ(counted.lines, kToolbar);
    const ToolbarWalk swept = WalkToolbarLines(kToolbar, true);
    EXPECT_EQ(swept.count, 3);
    EXPECT_EQ(swept.lines, (Lines{kToolbar[0], kToolbar[2], kToolbar[5], kToolbar[6]}));
    // A description line at the very end has no name line to take along.
    EXPECT_EQ(WalkToolbarLines({kToolbar[3]}, true).lines, Lines{});
    // The markers are matched in their exact case.
    EXPECT_EQ(WalkToolbarLines({"URN:X-NETSCAPE-TOOLBAR:SEARCHTERM:x"}, true).count, 0);
}

TEST(GoogleToolbarPrefs, HistoryLinesAreCountedByTheirLengthAndRemovedOnASweep) {
    const Lines prefs = {
        "# Mozilla User Preferences",
        "user_pref(\"googlebar.history.1\", \"secret\");",
        "USER_PREF(\"Google.Toolbar.Search_Box_History\", \"a\");",
        " user_pref(\"googlebar.history.2\", \"indented\");",
        "user_pref(\"browser.startup.homepage\", \"about:blank\");",
    };
    const PrefsWalk counted = WalkGoogleToolbarPrefs(prefs, false);
    EXPECT_EQ(counted.bytes, prefs[1].size() + prefs[2].size());
    EXPECT_EQ(counted.lines, prefs);
    const PrefsWalk swept = WalkGoogleToolbarPrefs(prefs, true);
    EXPECT_EQ(swept.bytes, counted.bytes);
    EXPECT_EQ(swept.lines, (Lines{prefs[0], prefs[3], prefs[4]}));
}

TEST(LocalSettingsTwin, EveryApplicationDataInAnyCaseMovesBelowLocalSettings) {
    EXPECT_EQ(LocalSettingsTwin("C:\\Documents and Settings\\ann\\APPLICATION DATA\\Mozilla\\FireFox\\Profiles\\x.default"),
              "C:\\Documents and Settings\\ann\\Local Settings\\Application Data\\Mozilla\\FireFox\\Profiles\\x.default");
    EXPECT_EQ(LocalSettingsTwin("C:\\a\\Application Data\\b\\application data\\c"),
              "C:\\a\\Local Settings\\Application Data\\b\\Local Settings\\Application Data\\c");
    // Only a whole folder name counts, and a path without one stays as it is.
    EXPECT_EQ(LocalSettingsTwin("C:\\My Application Data\\x"), "C:\\My Application Data\\x");
    EXPECT_EQ(LocalSettingsTwin("D:\\Profiles\\x.default"), "D:\\Profiles\\x.default");
}

}  // namespace
}  // namespace tarnwell
