#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "app/sid_text.h"

namespace tarnwell {
namespace {

TEST(SidText, NtAuthorityWithSubAuthorities) {
    SidParts sid;
    sid.authority = {0, 0, 0, 0, 0, 5};
    sid.subAuthorities = {21, 0, 0, 0, 1000};
    EXPECT_EQ(SidText(sid), "S-1-5-21-0-0-0-1000");
}

TEST(SidText, AuthorityFillingFourBytesStaysDecimal) {
    SidParts sid;
    sid.authority = {0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    sid.subAuthorities = {4294967295u};
    EXPECT_EQ(SidText(sid), "S-1-4294967295-4294967295");
}

TEST(SidText, AuthorityWithHighBytesIsHex) {
    SidParts sid;
    sid.authority = {0x01, 0x00, 0x00, 0x00, 0x00, 0x0A};
    sid.subAuthorities = {7};
    EXPECT_EQ(SidText(sid), "S-1-0x01000000000a-7");
    sid.authority = {0x00, 0x02, 0x00, 0x00, 0x00, 0x00};
    sid.subAuthorities = {};
    EXPECT_EQ(SidText(sid), "S-1-0x000200000000");
}

TEST(SidText, NoSubAuthorities) {
    SidParts sid;
    sid.authority = {0, 0, 0, 0, 0, 1};
    EXPECT_EQ(SidText(sid), "S-1-1");
}

TEST(ReadSid, ReadsTheBinaryForm) {
    const unsigned char user[] = {1, 5, 0, 0, 0, 0, 0, 5, 21, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                  0, 0, 0, 0, 0xE8, 0x03, 0, 0};
    const auto sid = ReadSid(user, sizeof user);
    ASSERT_TRUE(sid);
    EXPECT_EQ(SidText(*sid), "S-1-5-21-0-0-0-1000");
    const unsigned char administrators[] = {1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 0x02, 0, 0};
    EXPECT_EQ(ReadSid(administrators, sizeof administrators), AdministratorsSid());
    EXPECT_NE(ReadSid(user, sizeof user), AdministratorsSid());
}

TEST(ReadSid, RefusesWhatIsNoSid) {
    const unsigned char administrators[] = {1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 0x02, 0, 0};
    EXPECT_FALSE(ReadSid(nullptr, 16));
    EXPECT_FALSE(ReadSid(administrators, sizeof administrators - 1)) << "last word cut off";
    EXPECT_FALSE(ReadSid(administrators, 7)) << "header cut off";
    unsigned char wrongRevision[sizeof administrators];
    std::copy(std::begin(administrators), std::end(administrators), wrongRevision);
    wrongRevision[0] = 2;
    EXPECT_FALSE(ReadSid(wrongRevision, sizeof wrongRevision));
    unsigned char tooMany[8 + 4 * 16] = {1, 16};
    EXPECT_FALSE(ReadSid(tooMany, sizeof tooMany)) << "more than 15 sub-authorities";
}

}  // namespace
}  // namespace tarnwell
