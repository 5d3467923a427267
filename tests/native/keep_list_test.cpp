#include <gtest/gtest.h>

#include <map>

#include "cookiekeep/keep_list.h"

namespace tarnwell {
namespace {

TEST(KeepList, WholeNamesInAnyLetterCase) {
    const KeepList list({"root@example[1].txt", ".Example.COM"});
    EXPECT_TRUE(list.Contains("ROOT@EXAMPLE[1].TXT"));
    EXPECT_TRUE(list.Contains(".example.com"));
    EXPECT_FALSE(list.Contains("example.com"));          // no match across a leading dot
    EXPECT_FALSE(list.Contains("root@example[2].txt"));  // another counter is another name
    EXPECT_FALSE(list.Contains("root@example"));
    EXPECT_FALSE(KeepList().Contains(""));
}

TEST(KeepList, SectionNameAndSavedKeys) {
    EXPECT_EQ(KeepListSection("Settings", "FFDstList"), "Settings.FFDstList_Items");
    EXPECT_TRUE(KeepListKeys(KeepList()).empty());
    const auto keys = KeepListKeys(KeepList({"a", "b"}));
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0], (std::pair<std::string, std::string>{"Count", "2"}));
    EXPECT_EQ(keys[2], (std::pair<std::string, std::string>{"Item1", "b"}));
}

KeepList Load(const std::map<std::string, std::string>& section) {
    return LoadKeepList([&](const std::string& key) -> std::optional<std::string> {
        auto it = section.find(key);
        return it == section.end() ? std::nullopt : std::optional<std::string>(it->second);
    });
}

TEST(KeepList, DamagedSectionsLoadWhatIsThere) {
    EXPECT_EQ(Load({{"Count", "2"}, {"Item0", "a"}, {"Item1", "b"}}).Items(), (std::vector<std::string>{"a", "b"}));
    // A count too small, too large, absurd or junk; a missing item in between.
    EXPECT_EQ(Load({{"Count", "1"}, {"Item0", "a"}, {"Item1", "b"}}).Count(), 2u);
    EXPECT_EQ(Load({{"Count", "3"}, {"Item0", "a"}, {"Item2", "c"}}).Items(), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(Load({{"Count", "2147483647"}, {"Item0", "a"}}).Count(), 1u);
    EXPECT_EQ(Load({{"Count", "-5"}, {"Item0", "a"}}).Count(), 1u);
    EXPECT_EQ(Load({{"Count", "zz"}}).Count(), 0u);
    EXPECT_EQ(Load({}).Count(), 0u);
}

TEST(CookieDomains, OneEntryPerCookieLineWithoutComments) {
    const std::string file =
        "# Netscape HTTP Cookie File\n# comment\n\n.example.com\tTRUE\t/\tFALSE\t0\ta\t1\n"
        ".example.com\tTRUE\t/\tFALSE\t0\tb\t2\r\n.example.com\tTRUE\t/\tFALSE\t0\tc\t3\nshop.test\tFALSE\t/";
    EXPECT_EQ(CookieDomains(file),
              (std::vector<std::string>{".example.com", ".example.com", ".example.com", "shop.test"}));
}

TEST(CookieDomains, OddFiles) {
    EXPECT_EQ(CookieDomains("no tab here\n"), std::vector<std::string>{""});
    EXPECT_EQ(CookieDomains("a\tb\rc\td"), std::vector<std::string>{"a"});  // a lone CR does not end a line
    EXPECT_EQ(CookieDomains(std::string("x\0y\tz\n", 6)), std::vector<std::string>{std::string("x\0y", 3)});
    EXPECT_TRUE(CookieDomains("").empty());
    EXPECT_EQ(CookieDomains(std::string(1 << 20, 'a') + "\tv\n")[0].size(), 1u << 20);
}

}  // namespace
}  // namespace tarnwell
