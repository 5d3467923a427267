#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "update/update_page.h"

namespace tarnwell {
namespace {

std::string Meta(const std::string& name, const std::string& value) {
    return "<META HTTP-EQUIV=\"" + name + "\" CONTENT=\"" + value + "\">";
}

TEST(UpdatePage, ReadsTheProductFromItsMetaLines) {
    const std::string page =
        "<html><head>\r\n" + Meta("tw-name", "Tarnwell") + "\r\n" + Meta("tw-version", "2.21") + "\r\n" +
        Meta("tw-date", "Mar 14, 2004") + "\n" + Meta("tw-author", "The Tarnwell team") + "\r" +
        Meta("tw-url", "http://example.com/tarnwell.exe") + "\n" + Meta("tw-readme", "What is new") + "\r\n" +
        Meta("tw-unknown", "ignored") + "\r\n</head></html>";
    const UpdatePageValues values = ParseUpdatePage(page, TarnwellTags());
    EXPECT_EQ(values.ProductName, "Tarnwell");
    EXPECT_EQ(values.ProductVersion, "2.21");
    EXPECT_EQ(values.ProductDateStr, "Mar 14, 2004");
    EXPECT_EQ(values.ProductAuthor, "The Tarnwell team");
    EXPECT_EQ(values.DownloadURL, "http://example.com/tarnwell.exe");
    EXPECT_EQ(values.ProductReadMe, "What is new");
    // Tarnwell's page names no other fields.
    for (const std::string* field : {&values.ProductReadMeExt, &values.ProductAuthorEMail, &values.Redirect,
                                     &values.RunParams, &values.Config})
        EXPECT_EQ(*field, "");
}

TEST(UpdatePage, WhatALineMustHold) {
    const std::pair<std::string, const char*> cases[] = {
        {"<meta http-equiv=\"tw-version\" CONTENT=\"2.21\">", "2.21"},
        {"<Meta Http-Equiv=\"tw-version\" CONTENT=\"2.21\">", "2.21"},
        {"  text before <META HTTP-EQUIV=\"tw-version\" lang=en CONTENT=\"2.21\"> and after", "2.21"},
        {"<META HTTP-EQUIV=\"tw-version\" CONTENT=\"\">", ""},
        // Only the exact CONTENT=" counts.
        {"<META HTTP-EQUIV=\"tw-version\" content=\"2.21\">", ""},
        {"<META HTTP-EQUIV=\"tw-version\" Content=\"2.21\">", ""},
        {"<META HTTP-EQUIV=\"tw-version\" CONTENT= \"2.21\">", ""},
        {"<META HTTP-EQUIV=\"tw-version\" CONTENT='2.21'>", ""},
        {"<META HTTP-EQUIV=\"tw-version\" CONTENT=2.21>", ""},
        {"<META HTTP-EQUIV=\"tw-version\" CONTENT=\"2.21>", ""},
        {"<META HTTP-EQUIV=\"tw-version\">", ""},
        // The first CONTENT= after the name is the one that counts.
        {"<META HTTP-EQUIV=\"tw-version\" CONTENT=x CONTENT=\"2.21\">", ""},
        {"CONTENT=\"1.0\" <META HTTP-EQUIV=\"tw-version\" CONTENT=\"2.21\">", "2.21"},
        // The name follows =" at once and compares exactly.
        {"<META HTTP-EQUIV = \"tw-version\" CONTENT=\"2.21\">", ""},
        {"<META HTTP-EQUIV= \"tw-version\" CONTENT=\"2.21\">", ""},
        {"<META HTTP-EQUIV='tw-version' CONTENT=\"2.21\">", ""},
        {"<META HTTP-EQUIV=\"TW-VERSION\" CONTENT=\"2.21\">", ""},
        {"<META HTTP-EQUIV=\"tw-version \" CONTENT=\"2.21\">", ""},
        {"<META  HTTP-EQUIV=\"tw-version\" CONTENT=\"2.21\">", ""},
        {"<META HTTP-EQUIV=\"tw-version", ""},
        {"<META HTTP-EQUIV=", ""},
        // Only the line's first META counts, well formed or not.
        {"<META HTTP-EQUIV=tw-version><META HTTP-EQUIV=\"tw-version\" CONTENT=\"2.21\">", ""},
        {Meta("tw-name", "x") + Meta("tw-version", "2.21"), ""},
        {Meta("tw-version", "2.21") + Meta("tw-version", "3.00"), "2.21"},
    };
    for (const auto& [line, version] : cases)
        EXPECT_EQ(ParseUpdatePage(line, TarnwellTags()).ProductVersion, version) << line;
}

TEST(UpdatePage, LaterLinesOverwriteAndLineEndsEndEverything) {
    const WfiTags tags = TarnwellTags();
    EXPECT_EQ(ParseUpdatePage(Meta("tw-version", "1") + "\n" + Meta("tw-version", "2"), tags).ProductVersion, "2");
    EXPECT_EQ(ParseUpdatePage(Meta("tw-version", "1") + "\r" + Meta("tw-version", ""), tags).ProductVersion, "");
    EXPECT_EQ(ParseUpdatePage(Meta("tw-version", "1") + "\r\n<META HTTP-EQUIV=x>", tags).ProductVersion, "1");
    // A name or value never runs on into the next line.
    for (const char* end : {"\r", "\n", "\r\n"}) {
        EXPECT_EQ(ParseUpdatePage(Meta(std::string("tw-version") + end, "2.21"), tags).ProductVersion, "") << end;
        EXPECT_EQ(ParseUpdatePage(Meta("tw-version", std::string("2.21") + end), tags).ProductVersion, "") << end;
        EXPECT_EQ(ParseUpdatePage("<META HTTP-EQUIV=\"tw-version\"" + std::string(end) + "CONTENT=\"2.21\">", tags)
                      .ProductVersion,
                  "")
            << end;
    }
}

TEST(UpdatePage, EveryFieldWhoseTagMatchesAndNoneForAnEmptyName) {
    WfiTags tags;
    tags.VersionTag = tags.DateTag = tags.ConfigTag = "same";
    tags.RunParamsTag = "params";
    const UpdatePageValues values = ParseUpdatePage(Meta("same", "v") + "\n" + Meta("", "empty"), tags);
    EXPECT_EQ(values.ProductVersion, "v");
    EXPECT_EQ(values.ProductDateStr, "v");
    EXPECT_EQ(values.Config, "v");
    for (const std::string* field : {&values.ProductName, &values.ProductReadMe, &values.ProductReadMeExt,
                                     &values.ProductAuthor, &values.ProductAuthorEMail, &values.DownloadURL,
                                     &values.Redirect, &values.RunParams})
        EXPECT_EQ(*field, "");
}

TEST(UpdatePage, TheClosingQuoteWithinAThousandCharacters) {
    struct Case {
        size_t nameLength, valueLength;
        bool read;
    };
    const Case cases[] = {
        {999, 1, true}, {1000, 1, false}, {1001, 1, false}, {1, 999, true}, {1, 1000, false}, {1, 1001, false},
    };
    for (const Case& c : cases) {
        WfiTags tags;
        tags.VersionTag = std::string(c.nameLength, 'n');
        const std::string value(c.valueLength, 'v');
        EXPECT_EQ(ParseUpdatePage(Meta(tags.VersionTag, value), tags).ProductVersion, c.read ? value : "")
            << c.nameLength << " " << c.valueLength;
    }
}

// Ten megabytes in one line, or in lines of nothing, take one pass.
TEST(UpdatePage, LargePagesInLinearTime) {
    const size_t size = 10 * 1024 * 1024;
    const WfiTags tags = TarnwellTags();
    EXPECT_EQ(ParseUpdatePage(std::string(size, 'x') + Meta("tw-version", "2.21"), tags).ProductVersion, "2.21");
    EXPECT_EQ(ParseUpdatePage(std::string(size, '\n') + Meta("tw-version", "2.21"), tags).ProductVersion, "2.21");
    std::string quotes = Meta("tw-version", "2.21") + "\n<META HTTP-EQUIV=\"tw-version\" ";
    while (quotes.size() < size) quotes += "CONTENT=";
    EXPECT_EQ(ParseUpdatePage(quotes, tags).ProductVersion, "2.21");
}

TEST(DfsDate, MonthDayCommaYear) {
    const std::pair<const char*, double> cases[] = {
        {"Jan 01, 2000", 36526},  {"jAN 01, 2000", 36526},  {"January 01, 2000", 36526},
        {"Jan 1, 2000", 36526},   {"Jan 01,2000", 36526},   {"Feb 29, 2000", 36585},
        {"Feb 29, 2004", 38046},  {"Dec 31, 1899", 1},      {"Mar 01, 1900", 61},
        {"Mar 01, 1600", -109511}, {"Jan 01, 0001", -693593}, {"Dec 31, 9999", 2958465},
        // Not a date.
        {"Feb 29, 1900", 0},      {"Feb 30, 2000", 0},      {"Apr 31, 2000", 0},
        {"Jan 32, 2000", 0},      {"Jan 00, 2000", 0},      {"Jan 01, 0000", 0},
        {"Xyz 01, 2000", 0},      {"anf 01, 2000", 0},      {"Jan 01 2000", 0},
        {"Jan 01, 2000 ", 0},     {"Jan -1, 2000", 0},      {"Jan  , 2000", 0},
        {"Jan 01, 2000, x", 0},   {"Jan 01, 20x0", 0},      {"Jan ,2000", 0},
        {",1, 2000", 0},          {"Jan", 0},               {"", 0},
    };
    for (const auto& [text, days] : cases) EXPECT_EQ(DfsDate(text), days) << text;
}

TEST(Versions, BuildNumbersPartByPart) {
    struct Case {
        const char* current;
        const char* offered;
        bool newer;
    };
    const Case cases[] = {
        {"2.20", "2.21", true},    {"2.20", "2.3", false},   {"2.20", "2.20.1", false},
        {"2.20", "2.20", false},   {"2.20", "", false},      {"2.20", "3", true},
        {"2.20", "2", false},      {"2.20", "10", true},     {"2.20", "1.99", false},
        {"2.20", "2.020", false},  {"2.20", "2.21.0", true}, {"2.20", "2.20a", false},
        {"2.20", " 2.21", false},  {"2.x", "2.1", true},     {"2.99999999999", "2.1", true},
        {"2.20", "2.99999999999", false},
        // The current version's last part ends the comparison; an offered
        // version without more parts keeps offering its last one.
        {"1", "1.5", false},       {"1.0.0", "1", true},     {"1.0", "1.", false},
        {"", "", false},           {"", "1", true},          {"...", "...1", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsNewerBuildNumber(c.current, c.offered), c.newer) << c.current << " / " << c.offered;
}

TEST(Versions, SimpleStringsByCharacterCode) {
    struct Case {
        const char* current;
        const char* offered;
        bool newer;
    };
    const Case cases[] = {
        {"2.10", "2.9", true},  {"2.9", "2.10", false}, {"2.20", "2.20", false}, {"2.20", "2.20a", true},
        {"2.20", "", false},    {"", "0", true},        {"a", "\xe9", true},      {"\xe9", "a", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsNewerSimpleString(c.current, c.offered), c.newer) << c.current << " / " << c.offered;
}

TEST(Progress, ThousandsAndText) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {1234567, "1,234,567"},
        {-999, "-999"},
        {-1234, "-1,234"},
        {std::numeric_limits<std::int64_t>::max(), "9,223,372,036,854,775,807"},
        {std::numeric_limits<std::int64_t>::min(), "-9,223,372,036,854,775,808"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(WithThousands(value), text) << value;
    EXPECT_EQ(ProgressText(1234567, 2000000), "1,234,567 of 2,000,000 bytes received.");
}

TEST(Progress, PercentIn64Bits) {
    constexpr std::int64_t kMost = std::numeric_limits<std::int64_t>::max();
    struct Case {
        std::int64_t received, total;
        std::optional<int> percent;
    };
    const Case cases[] = {
        {1234567, 2000000, 61}, {0, 100, 0},          {-5, 100, 0},         {1, 100, 1},
        {999, 1000, 99},        {100, 100, 100},      {150, 100, 100},      {5000000000, 10000000000, 50},
        {kMost / 2, kMost, 49}, {9000000000000000000, kMost, 97}, {kMost - 1, kMost, 99}, {kMost, kMost, 100},
        {1, 0, std::nullopt},   {0, 0, std::nullopt}, {1, -1, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ProgressPercent(c.received, c.total), c.percent) << c.received << " " << c.total;
}

TEST(SaveName, DefaultNameAndFilterExtension) {
    const std::pair<const char*, const char*> names[] = {
        {"http://example.com/files/setup.exe", "setup.exe"},
        {"http://example.com/", ""},
        {"http://example.com/get?file=a/b.zip", "b.zip"},
        {"setup.exe", "setup.exe"},
    };
    for (const auto& [url, name] : names) EXPECT_EQ(DefaultFileName(url), name) << url;

    struct Case {
        const char* name;
        int filter;
        const char* saved;
    };
    const Case cases[] = {
        {"C:\\Downloads\\setup", 1, "C:\\Downloads\\setup.EXE"},
        {"C:\\Downloads\\setup", 2, "C:\\Downloads\\setup.ZIP"},
        {"C:\\Downloads\\setup", 3, "C:\\Downloads\\setup"},
        {"C:\\Downloads\\setup", 0, "C:\\Downloads\\setup"},
        {"C:\\Down.loads\\setup", 1, "C:\\Down.loads\\setup.EXE"},
        {"C:/Down.loads/setup", 2, "C:/Down.loads/setup.ZIP"},
        {"C:\\Downloads\\setup.", 1, "C:\\Downloads\\setup."},
        {"C:\\Downloads\\setup.zip", 1, "C:\\Downloads\\setup.zip"},
        {"setup", 1, "setup.EXE"},
    };
    for (const Case& c : cases) EXPECT_EQ(WithFilterExtension(c.name, c.filter), c.saved) << c.name << c.filter;
}

}  // namespace
}  // namespace tarnwell
