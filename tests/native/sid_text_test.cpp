#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tarnwell
