#include <gtest/gtest.h>

#include "base/file_names.h"
#include "engine/random.h"

namespace tarnwell {
namespace {

TEST(Random, LinearCongruentialSequence) {
    TRandom random(0);
    EXPECT_EQ(random.Below(0x80000000u), 0u);  // seed 1
    EXPECT_EQ(random.SeedValue(), 1u);
    random.Below(128);
    EXPECT_EQ(random.SeedValue(), 134775814u);
    // seed * N div 2^32 with both factors unsigned 32-bit.
    TRandom high(0xFFFFFFFFu);
    const std::uint32_t next = 0xFFFFFFFFu * 134775813u + 1u;
    EXPECT_EQ(high.Below(128), static_cast<std::uint32_t>((std::uint64_t{next} * 128) >> 32));
    for (int i = 0; i < 1000; ++i) EXPECT_LT(random.Below(128), 128u);
    EXPECT_EQ(random.Below(0), 0u);
}

TEST(FileNames, PathAndExtension) {
    EXPECT_EQ(ExtractFilePath("C:\\a\\b.txt"), "C:\\a\\");
    EXPECT_EQ(ExtractFilePath("C:b.txt"), "C:");
    EXPECT_EQ(ExtractFilePath("b.txt"), "");
    EXPECT_EQ(ExtractFileExt("C:\\a.d\\b"), "");
    EXPECT_EQ(ExtractFileExt("C:\\a\\b.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFileExt("C:\\a\\.profile"), ".profile");
    EXPECT_EQ(JoinPath("C:\\a", "b"), "C:\\a\\b");
    EXPECT_EQ(JoinPath("C:\\a\\", "b"), "C:\\a\\b");
    EXPECT_EQ(JoinPath("", "b"), "b");
}

TEST(FileNames, ProgramPathIsQuotedOnce) {
    EXPECT_EQ(QuotedProgramPath("C:\\Program Files\\Tarnwell\\TWSvc.exe"),
              "\"C:\\Program Files\\Tarnwell\\TWSvc.exe\"");
    EXPECT_EQ(QuotedProgramPath("C:\\T\\TWSvc.exe"), "\"C:\\T\\TWSvc.exe\"");
    EXPECT_EQ(QuotedProgramPath("\"C:\\A B\\TWSvc.exe\""), "\"C:\\A B\\TWSvc.exe\"");
    EXPECT_EQ(QuotedProgramPath("\""), "\"\"\"");
}

TEST(FileNames, ScrambledNameKeepsDirectoryAndOriginalExtension) {
    EXPECT_EQ(ScrambledName("C:\\t\\~5.txt", 12345, "C:\\t\\notes.txt"), "C:\\t\\~12345.txt");
    EXPECT_EQ(ScrambledName("C:\\t\\notes", 7, "C:\\t\\notes"), "C:\\t\\~7");
    // Values of 2^31 and above print as negative numbers.
    EXPECT_EQ(ScrambledName("C:\\x.doc", 0x80000000u, "C:\\x.doc"), "C:\\~-2147483648.doc");
    EXPECT_EQ(ScrambledName("C:\\x.doc", kScrambleRange - 1, "C:\\x.doc"), "C:\\~-1530494978.doc");
}

}  // namespace
}  // namespace tarnwell

#include "engine/dos_time.h"

namespace tarnwell {
namespace {

TEST(DosTime, RangeAndDateTimeValue) {
    EXPECT_FALSE(ToDosDateTime(1979, 12, 31, 23, 59, 58));
    EXPECT_FALSE(ToDosDateTime(2108, 1, 1, 0, 0, 0));
    ASSERT_TRUE(ToDosDateTime(2107, 12, 31, 23, 59, 59));
    const auto dos = ToDosDateTime(2000, 1, 1, 12, 0, 1);  // odd seconds round down
    ASSERT_TRUE(dos);
    EXPECT_DOUBLE_EQ(DosToDateTime(*dos), 36526.5);
    EXPECT_DOUBLE_EQ(DosToDateTime(*ToDosDateTime(1980, 1, 1, 0, 0, 0)), 29221.0);
    // Full resolution, and days before the epoch count backwards.
    EXPECT_DOUBLE_EQ(CalendarToDateTime(2000, 1, 1, 12, 0, 1, 500), 36526.5 + 1.5 / 86400);
    EXPECT_DOUBLE_EQ(CalendarToDateTime(1899, 12, 29, 0, 0, 0, 0), -1.0);
}

TEST(SamePath, IgnoresAsciiCaseOnly) {
    EXPECT_TRUE(SamePath("C:\\Temp\\A.txt", "c:\\temp\\a.TXT"));
    EXPECT_FALSE(SamePath("C:\\Temp\\a.txt", "C:\\Temp\\a.txt\\"));
    EXPECT_FALSE(SamePath("C:\\Temp\\\xC4", "C:\\Temp\\\xE4"));  // only ASCII letters fold
}

// What a removal that started below a folder may still reach.
TEST(LiesBelow, OnlyStrictlyInsideTheFolder) {
    EXPECT_TRUE(LiesBelow("C:\\Temp\\a.txt", "C:\\Temp"));
    EXPECT_TRUE(LiesBelow("C:\\Temp\\a.txt", "C:\\Temp\\"));
    EXPECT_TRUE(LiesBelow("c:\\TEMP\\sub\\a.txt", "C:\\temp\\"));
    EXPECT_TRUE(LiesBelow("\\\\server\\share\\x", "\\\\SERVER\\share"));
    EXPECT_TRUE(LiesBelow("C:\\a", "C:\\"));
    EXPECT_FALSE(LiesBelow("C:\\Temp", "C:\\Temp"));        // the folder itself
    EXPECT_FALSE(LiesBelow("C:\\Temp\\", "C:\\Temp"));
    EXPECT_FALSE(LiesBelow("C:\\Temp2\\a.txt", "C:\\Temp"));  // a sibling with the same beginning
    EXPECT_FALSE(LiesBelow("D:\\Temp\\a.txt", "C:\\Temp"));
    EXPECT_FALSE(LiesBelow("C:\\a", ""));
    EXPECT_FALSE(LiesBelow("", "C:\\"));
}

}  // namespace
}  // namespace tarnwell
