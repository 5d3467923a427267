#include <gtest/gtest.h>

#include <climits>

#include "base/text_lines.h"
#include "resident/kill_report.h"
#include "resident/popup_lists.h"
#include "stand-ins/popup/popup_decision.h"

namespace tarnwell {
namespace {

using Lines = std::vector<std::string>;

TEST(HostFromUrl, KeepsTheHostOfAnAddressAndABareHostAsItIs) {
    EXPECT_EQ(HostFromUrl("https://WWW.Example.COM/path/page.html?q=1&r=/x"), "WWW.Example.COM");
    EXPECT_EQ(HostFromUrl("http://user@host.example:8080/a"), "user@host.example:8080");
    EXPECT_EQ(HostFromUrl("example.com"), "example.com");
    EXPECT_EQ(HostFromUrl("example.com/ads/pop.html"), "example.com");
    EXPECT_EQ(HostFromUrl(""), "");
    EXPECT_EQ(HostFromUrl("http://"), "");
    EXPECT_EQ(HostFromUrl("/leading"), "");
    // The scheme is matched in lower case only: a capital one is cut at
    // the first "/", leaving the scheme and its colon.
    EXPECT_EQ(HostFromUrl("HTTP://Example.com/x"), "HTTP:");
    // Found anywhere in the text; everything up to the first "//" goes.
    EXPECT_EQ(HostFromUrl("see http://a.example/b"), "a.example");
    EXPECT_EQ(HostFromUrl("ftp://x//y http://z"), "x");
}

TEST(PopupLists, ReadAtEveryLineEndKeepingEmptyMiddleLines) {
    EXPECT_EQ(ReadListText("a.com\r\nb.com\r\n"), (Lines{"a.com", "b.com"}));
    EXPECT_EQ(ReadListText("a.com\nb.com\n"), (Lines{"a.com", "b.com"}));
    EXPECT_EQ(ReadListText("a.com\rb.com\r"), (Lines{"a.com", "b.com"}));
    EXPECT_EQ(ReadListText("a.com\r\n\r\nc.com"), (Lines{"a.com", "", "c.com"}));
    EXPECT_EQ(ReadListText("a.com\n\rb.com"), (Lines{"a.com", "", "b.com"}));  // LF then CR: two ends
    EXPECT_EQ(ReadListText("last"), (Lines{"last"}));
    EXPECT_EQ(ReadListText(""), Lines{});
    EXPECT_EQ(ReadListText("\r\n"), (Lines{""}));
}

TEST(PopupLists, WrittenWithCrLfAfterEveryEntryAndReadBackTheSame) {
    EXPECT_EQ(ListFileText({}), "");
    EXPECT_EQ(ListFileText({"a.com", "", "b.com"}), "a.com\r\n\r\nb.com\r\n");
    const Lines entries = {"x.example", "", "Y.Example"};
    EXPECT_EQ(ReadListText(ListFileText(entries)), entries);
    EXPECT_TRUE(ListHolds(entries, "y.EXAMPLE"));
    EXPECT_FALSE(ListHolds(entries, "y.example.com"));
}

TEST(KillReport, OnlyTheTaggedThreeByteReportCounts) {
    const unsigned char report[] = {2, 'S', 'N'};
    const unsigned char longer[] = {2, 'S', 'N', 0, 9};
    const unsigned char wrongFirst[] = {1, 'S', 'N'};
    const unsigned char wrongCase[] = {2, 's', 'N'};
    EXPECT_EQ(ClassifyCopyData(0xBFDC1, report, 3), CopyData::KillReport);
    EXPECT_EQ(ClassifyCopyData(0xBFDC1, longer, sizeof longer), CopyData::KillReport);
    EXPECT_EQ(ClassifyCopyData(0xBFDC2, report, 3), CopyData::NotOurs);
    EXPECT_EQ(ClassifyCopyData(0xBFDC1, report, 2), CopyData::Other);
    EXPECT_EQ(ClassifyCopyData(0xBFDC1, wrongFirst, 3), CopyData::Other);
    EXPECT_EQ(ClassifyCopyData(0xBFDC1, wrongCase, 3), CopyData::Other);
    EXPECT_EQ(ClassifyCopyData(0xBFDC1, nullptr, 3), CopyData::Other);
}

TEST(KillReport, ReportsWithinAQuarterSecondCountOnceAtAnyUptime) {
    EXPECT_TRUE(CountsAsNewKill(1000, std::nullopt));
    EXPECT_TRUE(CountsAsNewKill(0x80000100u, std::nullopt));  // the first report, past 2^31
    for (const std::uint32_t last : {1000u, 0x7FFFFF00u, 0xFFFFFF00u, 0x80000000u}) {
        EXPECT_FALSE(CountsAsNewKill(last + 100, last)) << last;
        EXPECT_FALSE(CountsAsNewKill(last + 250, last)) << last;
        EXPECT_TRUE(CountsAsNewKill(last + 251, last)) << last;
        EXPECT_TRUE(CountsAsNewKill(last + 300, last)) << last;
    }
    // A tick behind the last counted one (a report handled late) counts not.
    EXPECT_FALSE(CountsAsNewKill(5000, 6000));
}

TEST(PopupDecision, OverridesThenListsThenLevel) {
    PopupPolicy policy{{"friend.example"}, {"ads.example"}, PopupLevel::High};
    PopupRequest request{"http://news.example/page", true, false, false};
    EXPECT_TRUE(ShouldKillPopup(policy, request));  // High kills even a click's popup
    request.ctrlHeld = true;
    EXPECT_FALSE(ShouldKillPopup(policy, request));
    request = {"https://Friend.Example/x", false, false, false};
    EXPECT_FALSE(ShouldKillPopup(policy, request));  // allowed host, any case
    request = {"http://ads.example/", false, false, true};
    EXPECT_FALSE(ShouldKillPopup(policy, request));  // Scroll Lock lets even a blocked host through

    policy.level = PopupLevel::Medium;
    EXPECT_TRUE(ShouldKillPopup(policy, {"http://ads.example/", true, false, false}));  // block list beats the click
    EXPECT_FALSE(ShouldKillPopup(policy, {"http://news.example/", true, false, false}));
    EXPECT_TRUE(ShouldKillPopup(policy, {"http://news.example/", false, false, false}));
    EXPECT_TRUE(ShouldKillPopup(policy, {"https://bank.example/", false, false, false}));

    policy.level = PopupLevel::Low;
    EXPECT_FALSE(ShouldKillPopup(policy, {"https://bank.example/", false, false, false}));
    EXPECT_TRUE(ShouldKillPopup(policy, {"http://news.example/", false, false, false}));
    EXPECT_TRUE(ShouldKillPopup(policy, {"https://ads.example/", false, false, false}));
}

TEST(PopupDecision, StoredLevelTexts) {
    EXPECT_EQ(PopupLevelFromText("0"), PopupLevel::High);
    EXPECT_EQ(PopupLevelFromText("1"), PopupLevel::Medium);
    EXPECT_EQ(PopupLevelFromText("2"), PopupLevel::Low);
    EXPECT_EQ(PopupLevelFromText("7"), PopupLevel::High);
    EXPECT_EQ(PopupLevelFromText(""), PopupLevel::High);
}

}  // namespace
}  // namespace tarnwell
