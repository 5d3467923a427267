#include "engine/findings.h"

#include <gtest/gtest.h>

namespace tarnwell {
namespace {

Finding File(std::string name, std::string folder, std::int64_t size) {
    return Finding{std::move(name), std::move(folder), size, FindingKind::File, {}};
}

// Past the limit the entries are counted and their sizes added, but not
// kept; the text says how many more there were.
TEST(FindingList, KeepsTotalsRightPastItsLimit) {
    FindingList list(3);
    for (int i = 0; i < 10; ++i) list.Add(File("f" + std::to_string(i) + ".tmp", "C:\\Temp", 100));
    list.Add(Finding{"Sub", "C:\\Temp", -1, FindingKind::Folder, {}});
    EXPECT_EQ(list.Count(), 11u);
    EXPECT_EQ(list.Entries().size(), 3u);
    EXPECT_EQ(list.Beyond(), 8u);
    EXPECT_EQ(list.Bytes(), 1000);
    EXPECT_EQ(TotalsText(list), "11 entries, 1000 bytes in files (the first 3 listed)");
    list.Clear();
    EXPECT_EQ(TotalsText(list), "0 entries, 0 bytes in files");
}

// Each entry comes back with its own folder, however the walk went in and
// out of sub-folders.
TEST(FindingList, GivesBackEachEntryWithItsFolder) {
    FindingList list;
    list.Add("a", "C:\\X", 1, FindingKind::File);
    list.Add("Sub", "C:\\X", -1, FindingKind::Folder);
    list.Add("b", "C:\\X\\Sub", 2, FindingKind::File);
    list.Add("c", "C:\\X", 3, FindingKind::File, "read-only");
    std::string text;
    for (const Finding& f : list.Entries()) text += FindingPath(f) + "|" + f.remark + " ";
    EXPECT_EQ(text, "C:\\X\\a| C:\\X\\Sub| C:\\X\\Sub\\b| C:\\X\\c|read-only ");
}

TEST(FindingList, SortsByNameFolderOrSizeEitherWay) {
    const std::vector<Finding> findings{File("b.txt", "C:\\Z", 5), File("A.txt", "C:\\Y", 7), File("c.txt", "C:\\x", 5)};
    const auto names = [](const std::vector<Finding>& sorted) {
        std::string text;
        for (const Finding& f : sorted) text += f.name + " ";
        return text;
    };
    EXPECT_EQ(names(SortedFindings(findings, FindingOrder::Name, true)), "A.txt b.txt c.txt ");
    EXPECT_EQ(names(SortedFindings(findings, FindingOrder::Name, false)), "c.txt b.txt A.txt ");
    EXPECT_EQ(names(SortedFindings(findings, FindingOrder::Folder, true)), "c.txt A.txt b.txt ");
    // Equal sizes fall back to the folder.
    EXPECT_EQ(names(SortedFindings(findings, FindingOrder::Size, true)), "c.txt b.txt A.txt ");
}

TEST(ItemReport, TextListsFindingsAndTheReceipt) {
    ItemReport report;
    report.caption = "Windows Temp Files";
    EXPECT_EQ(ReportText(report), "Windows Temp Files\r\nNot analysed or swept yet.\r\n");
    report.ran = true;
    report.swept = true;
    report.when = "2026-12-08 14:03";
    report.label = "2 file(s) deleted.";
    report.found.Add(File("held.tmp", "C:\\Temp", 4));
    report.found.Add(File("a.tmp", "C:\\Temp", 3));
    report.checked = true;
    report.removed = 1;
    Finding held = File("held.tmp", "C:\\Temp", 4);
    held.remark = "in use or read-only";
    report.stillThere.Add(held);
    EXPECT_EQ(ReceiptText(report), "1 removed, 1 still there");
    EXPECT_EQ(ReportText(report),
              "Windows Temp Files\r\n"
              "Swept 2026-12-08 14:03: 2 file(s) deleted.\r\n"
              "Found: 2 entries, 7 bytes in files\r\n"
              "Receipt: 1 removed, 1 still there\r\n"
              "\r\nName\tFolder\tSize\r\n"
              "a.tmp\tC:\\Temp\t3\r\n"
              "held.tmp\tC:\\Temp\t4\r\n"
              "\r\nStill there:\r\n"
              "held.tmp\tC:\\Temp\t4\tin use or read-only\r\n");
    EXPECT_EQ(FindingPath(File("a.tmp", "C:\\", 3)), "C:\\a.tmp");
    EXPECT_EQ(FindingPath(report.found.Entries()[0]), "C:\\Temp\\held.tmp");

    report.summary = "The cache index was emptied; it lists no files of its own.";
    EXPECT_EQ(ReportText(report), "Windows Temp Files\r\nSwept 2026-12-08 14:03: 2 file(s) deleted.\r\n"
                                  "The cache index was emptied; it lists no files of its own.\r\n");
}

}  // namespace
}  // namespace tarnwell
