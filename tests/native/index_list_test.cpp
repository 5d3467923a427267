#include <gtest/gtest.h>

#include "resident/index_list.h"

namespace tarnwell {
namespace {

const IndexFiles kFiles{"C:\\WINDOWS\\TEMPOR~1\\CONTENT.IE5\\index.dat", "C:\\WINDOWS\\HISTORY\\HISTORY.IE5\\index.dat",
                        "C:\\WINDOWS\\COOKIES\\index.dat"};

TEST(IndexList, FourLinesEndingInCrLf) {
    EXPECT_EQ(IndexListText(kFiles, "3"),
              "C:\\WINDOWS\\TEMPOR~1\\CONTENT.IE5\\index.dat\r\nC:\\WINDOWS\\HISTORY\\HISTORY.IE5\\index.dat\r\n"
              "C:\\WINDOWS\\COOKIES\\index.dat\r\n3\r\n");
}

TEST(Wininit, ArmingCreatesTheSectionOnceAndNeverDuplicates) {
    const std::string created = ArmedWininit(std::nullopt, kFiles);
    EXPECT_EQ(created,
              "[rename]\r\nNUL=C:\\WINDOWS\\TEMPOR~1\\CONTENT.IE5\\index.dat\r\n"
              "NUL=C:\\WINDOWS\\HISTORY\\HISTORY.IE5\\index.dat\r\nNUL=C:\\WINDOWS\\COOKIES\\index.dat\r\n");
    EXPECT_EQ(ArmedWininit(created, kFiles), created);
    // Another program's lines stay; a file without a section gets none.
    EXPECT_EQ(ArmedWininit("[rename]\nC:\\A.NEW=C:\\A.TMP", {kFiles.cache, kFiles.cache, kFiles.cache}),
              "[rename]\r\nC:\\A.NEW=C:\\A.TMP\r\nNUL=C:\\WINDOWS\\TEMPOR~1\\CONTENT.IE5\\index.dat\r\n");
    EXPECT_EQ(ArmedWininit("", {"a", "a", "a"}), "NUL=a\r\n");
}

TEST(Wininit, DisarmingRemovesOurLinesInAnyCaseAndKeepsTheRest) {
    const std::string armed = "[rename]\r\nC:\\A.NEW=C:\\A.TMP\r\n"
                              "nul=c:\\windows\\tempor~1\\content.ie5\\INDEX.DAT\r\n"
                              "NUL=C:\\WINDOWS\\HISTORY\\HISTORY.IE5\\index.dat\r\n"
                              "NUL=C:\\WINDOWS\\COOKIES\\index.dat";  // the last line without its end
    EXPECT_EQ(DisarmedWininit(armed, kFiles), "[rename]\r\nC:\\A.NEW=C:\\A.TMP\r\n");
    EXPECT_EQ(DisarmedWininit("[rename]\r\n", kFiles), "[rename]\r\n");
    // Only the first occurrence of each goes.
    const std::string twice = "NUL=C:\\WINDOWS\\COOKIES\\index.dat\r\nNUL=C:\\WINDOWS\\COOKIES\\index.dat\r\n";
    EXPECT_EQ(DisarmedWininit(twice, kFiles), "NUL=C:\\WINDOWS\\COOKIES\\index.dat\r\n");
}

TEST(IndexFilesToRemove, OnlyAbsoluteIndexDatPathsOfTheFirstThreeLines) {
    EXPECT_EQ(IndexFilesToRemove(IndexListText(kFiles, "3")),
              (std::vector<std::string>{kFiles.cache, kFiles.history, kFiles.cookies}));
    EXPECT_EQ(IndexFilesToRemove("C:\\Windows\\system.ini\r\nC:\\x\\INDEX.DAT\nrelative\\index.dat\r\n"
                                 "D:\\fourth\\index.dat\r\n"),
              (std::vector<std::string>{"C:\\x\\INDEX.DAT"}));
    EXPECT_EQ(IndexFilesToRemove("C:\\a\\..\\b\\index.dat\r\nC:\\a\\.\\index.dat\r\n\\\\server\\share\\index.dat"),
              (std::vector<std::string>{"\\\\server\\share\\index.dat"}));
    EXPECT_TRUE(IndexFilesToRemove("C:\\index.dat.lnk\r\nC:\\myindex.dat\r\n").empty());
    EXPECT_TRUE(IndexFilesToRemove("").empty());
    EXPECT_EQ(IndexFilesToRemove(IndexListText(kFiles, "3"), {false, true, false}),
              (std::vector<std::string>{kFiles.history}));
}

}  // namespace
}  // namespace tarnwell
