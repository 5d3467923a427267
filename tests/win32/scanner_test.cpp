// The file scanner on real folders of the test prefix.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "engine/scanner.h"
#include "engine/secure_delete.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/tarnwell_process.h"

namespace tarnwell::testing {
namespace {

struct Found {
    std::string name, path;
    std::int32_t attributes, size;
    double dateTime;
};

// Runs a scanner to its end and keeps what it reported.
class ScanRun {
public:
    explicit ScanRun(TBaseScanner& scanner) : scanner_(scanner) {
        scanner.OnFileFound = [this](const std::string& name, const std::string& path, std::int32_t attributes,
                                     std::int32_t size, double dateTime) {
            found.push_back({name, path, attributes, size, dateTime});
            if (onFound) onFound(found.back());
        };
        scanner.OnProcess = [this](std::uint32_t, std::uint32_t, const std::string& current, std::uint32_t,
                                   std::uint32_t) { entered.push_back(current); };
        scanner.OnProcessDone = [this](TBaseScanner& sender, std::uint32_t count, std::uint32_t size) {
            ++doneCalls;
            doneCount = count;
            doneSize = size;
            // Refused: the worker is cleared only after this returns.
            restartedInDone = sender.Execute();
            runningInDone = sender.Running();
        };
    }
    bool Run() {
        if (!scanner_.Execute()) return false;
        return PumpUntil([this] { return doneCalls > 0 && !scanner_.Running(); });
    }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const Found& f : found) names.insert(f.name);
        return names;
    }

    std::vector<Found> found;
    std::vector<std::string> entered;
    std::function<void(const Found&)> onFound;
    int doneCalls = 0;
    std::uint32_t doneCount = 0, doneSize = 0;
    bool runningInDone = false;
    bool restartedInDone = true;

private:
    TBaseScanner& scanner_;
};

void MakeFile(const std::string& path, size_t size = 3) {
    ASSERT_TRUE(WriteTextFile(path, std::string(size, 'x'))) << path;
}

class Scanner : public ::testing::Test {
protected:
    void SetUp() override {
        scanner.ScanStrategy = TScanStrategy::ssSpecifiedDir;
        scanner.Directory = folder.Path();
        scanner.Attributes = 0;
        scanner.Priority = TThreadPriority::tpNormal;
    }
    TempFolder folder;
    TBaseScanner scanner;
};

TEST_F(Scanner, ReportsEveryFileAndFolderBeforeItsContents) {
    MakeFile(folder / "a.txt");
    ASSERT_TRUE(MakeDirectories(folder / "sub\\deeper"));
    MakeFile(folder / "sub\\b.dat", 10);
    MakeFile(folder / "sub\\deeper\\c");
    ScanRun run(scanner);
    ASSERT_TRUE(run.Run());
    EXPECT_EQ(run.Names(), (std::set<std::string>{"a.txt", "sub", "b.dat", "deeper", "c"}));
    EXPECT_EQ(run.doneCalls, 1);
    EXPECT_EQ(run.doneCount, 5u);
    EXPECT_TRUE(run.runningInDone);  // cleared only after the end handler returns
    EXPECT_FALSE(run.restartedInDone);  // the Execute inside it started nothing
    auto position = [&](const std::string& name) {
        return std::find_if(run.found.begin(), run.found.end(), [&](const Found& f) { return f.name == name; }) -
               run.found.begin();
    };
    EXPECT_LT(position("sub"), position("b.dat"));
    EXPECT_LT(position("deeper"), position("c"));
    for (const Found& f : run.found) {
        if (f.name == "b.dat") {
            EXPECT_EQ(f.path, folder.Path() + "sub");
            EXPECT_EQ(f.size, 10);
        }
    }
    // One progress notice per folder entered, the start folder as given.
    EXPECT_EQ(run.entered.size(), 3u);
    EXPECT_EQ(run.entered.front(), folder.Path());
}

// A date that DOS time cannot hold used to end the whole walk silently.
TEST_F(Scanner, FilesDatedOutsideDosTimeAreReportedAndTheWalkGoesOn) {
    for (const char* name : {"a-first.txt", "m-1979.txt", "n-2110.txt", "z-last.txt"}) MakeFile(folder / name);
    const std::pair<const char*, WORD> dated[] = {{"m-1979.txt", 1979}, {"n-2110.txt", 2110}};
    for (const auto& [name, year] : dated) {
        KernelHandle file(::CreateFileA((folder / name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0,
                                        nullptr));
        SYSTEMTIME time{year, 6, 0, 15, 12, 0, 0, 0};
        FILETIME stamp;
        ASSERT_TRUE(::SystemTimeToFileTime(&time, &stamp) && ::SetFileTime(file.get(), nullptr, nullptr, &stamp));
    }
    ScanRun run(scanner);
    ASSERT_TRUE(run.Run());
    EXPECT_EQ(run.Names(), (std::set<std::string>{"a-first.txt", "m-1979.txt", "n-2110.txt", "z-last.txt"}));
    EXPECT_EQ(run.doneCount, 4u);
    for (const Found& f : run.found) {
        if (f.name == "m-1979.txt" || f.name == "n-2110.txt") {
            EXPECT_EQ(f.dateTime, 0.0) << f.name;
        }
    }
}

TEST_F(Scanner, FolderAttributeWithoutRecursionGivesTheImmediateSubfolders) {
    ASSERT_TRUE(MakeDirectories(folder / "profile1\\inner"));
    ASSERT_TRUE(MakeDirectories(folder / "profile2"));
    MakeFile(folder / "file.txt");
    scanner.Attributes = faDirectory;
    scanner.Recursive = false;
    ScanRun run(scanner);
    ASSERT_TRUE(run.Run());
    EXPECT_EQ(run.Names(), (std::set<std::string>{"profile1", "profile2"}));
}

TEST_F(Scanner, MasksWithoutRecursion) {
    MakeFile(folder / "FILE0000.CHK");
    MakeFile(folder / "file12.chk");
    MakeFile(folder / "afile1.chk");
    ASSERT_TRUE(MakeDirectories(folder / "sub"));
    MakeFile(folder / "sub\\FILE0001.CHK");
    scanner.Files = "file*.chk";
    scanner.Recursive = false;
    ScanRun run(scanner);
    ASSERT_TRUE(run.Run());
    EXPECT_EQ(run.Names(), (std::set<std::string>{"FILE0000.CHK", "file12.chk"}));
}

TEST_F(Scanner, MaskListWithBlanksAroundSeparators) {
    for (const char* name : {"a.txt", "b.log", "c.dat", "d"}) MakeFile(folder / name);
    scanner.Files = "*.txt; *.log ;";
    ScanRun run(scanner);
    ASSERT_TRUE(run.Run());
    EXPECT_EQ(run.Names(), (std::set<std::string>{"a.txt", "b.log"}));
}

TEST_F(Scanner, InvalidMaskEndsAtOnceWithNothing) {
    MakeFile(folder / "a.txt");
    scanner.Files = "*.txt;[abc";
    ScanRun run(scanner);
    ASSERT_TRUE(run.Run());
    EXPECT_TRUE(run.found.empty());
    EXPECT_EQ(run.doneCalls, 1);
    EXPECT_EQ(run.doneCount, 0u);
}

// Wine keeps no archive bit of its own, so the attribute rule is checked
// with the read-only bit, which it keeps in the file's permissions.
TEST_F(Scanner, EveryRequiredAttributeMustBePresent) {
    MakeFile(folder / "locked.txt");
    MakeFile(folder / "open.txt");
    ::SetFileAttributesA((folder / "locked.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    scanner.Attributes = faReadOnly;
    ScanRun run(scanner);
    ASSERT_TRUE(run.Run());
    ::SetFileAttributesA((folder / "locked.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(run.Names(), (std::set<std::string>{"locked.txt"}));

    TBaseScanner defaults;  // requires the archive bit, which new files carry
    defaults.ScanStrategy = TScanStrategy::ssSpecifiedDir;
    defaults.Directory = folder.Path();
    ScanRun archived(defaults);
    ASSERT_TRUE(archived.Run());
    EXPECT_EQ(archived.Names(), (std::set<std::string>{"locked.txt", "open.txt"}));
}

TEST_F(Scanner, SizesAreReportedModuloFourGigabytes) {
    const std::string big = folder / "big.bin";
    {
        KernelHandle file(::CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        LARGE_INTEGER size;
        size.QuadPart = 5LL << 30;  // sparse: nothing is written
        ASSERT_TRUE(::SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.get()));
    }
    ScanRun run(scanner);
    ASSERT_TRUE(run.Run());
    ASSERT_EQ(run.found.size(), 1u);
    EXPECT_EQ(run.found[0].size, 1 << 30);
    EXPECT_EQ(run.doneSize, 1u << 30);
    EXPECT_EQ(FileSizeOf(big), 5LL << 30);
    EXPECT_EQ(FileSizeOf(folder / "missing"), -1);
}

TEST_F(Scanner, StopEndsTheWalkWithTheTotalsReached) {
    for (int i = 0; i < 2000; ++i) MakeFile(folder / ("f" + std::to_string(i)));
    ScanRun run(scanner);
    run.onFound = [&](const Found&) {
        if (run.found.size() == 10) scanner.Stop();
    };
    ASSERT_TRUE(run.Run());
    EXPECT_EQ(run.found.size(), 10u);
    EXPECT_EQ(run.doneCalls, 1);
    EXPECT_EQ(run.doneCount, 10u);
    // The next run starts from nothing.
    run.onFound = nullptr;
    run.found.clear();
    run.doneCalls = 0;
    ASSERT_TRUE(run.Run());
    EXPECT_EQ(run.doneCount, 2000u);
}

TEST_F(Scanner, FoldersVanishingDuringTheWalkEndItNormally) {
    for (int d = 0; d < 40; ++d) {
        ASSERT_TRUE(MakeDirectories(folder / ("d" + std::to_string(d))));
        for (int f = 0; f < 20; ++f) MakeFile(folder / ("d" + std::to_string(d) + "\\f" + std::to_string(f)));
    }
    ScanRun run(scanner);
    run.onFound = [&](const Found&) {
        if (run.found.size() == 1)
            for (int d = 0; d < 40; ++d) RemoveTree(folder / ("d" + std::to_string(d)));
    };
    ASSERT_TRUE(run.Run());
    EXPECT_EQ(run.doneCalls, 1);
    EXPECT_EQ(run.doneCount, run.found.size());
}

TEST_F(Scanner, MissingStartFolderGivesOneNoticeAndNothingElse) {
    scanner.Directory = folder / "not-there";
    ScanRun run(scanner);
    ASSERT_TRUE(run.Run());
    EXPECT_EQ(run.entered.size(), 1u);
    EXPECT_TRUE(run.found.empty());
    EXPECT_EQ(run.doneCount, 0u);
}

TEST_F(Scanner, SeveralScannersRunAtOnceAndDestroyingOneMidWalkIsSafe) {
    for (int i = 0; i < 500; ++i) MakeFile(folder / ("f" + std::to_string(i)));
    TBaseScanner second;
    second.ScanStrategy = TScanStrategy::ssSpecifiedDir;
    second.Directory = folder.Path();
    second.Attributes = 0;
    ScanRun first(scanner), other(second);
    ASSERT_TRUE(scanner.Execute());
    ASSERT_FALSE(scanner.Execute()) << "a second walk while one runs";
    ASSERT_TRUE(second.Execute());
    ASSERT_TRUE(PumpUntil([&] { return first.doneCalls && other.doneCalls; }));
    EXPECT_EQ(first.doneCount, 500u);
    EXPECT_EQ(other.doneCount, 500u);
    auto doomed = std::make_unique<TBaseScanner>();
    doomed->ScanStrategy = TScanStrategy::ssSpecifiedDir;
    doomed->Directory = folder.Path();
    doomed->Attributes = 0;
    int reports = 0;
    doomed->OnFileFound = [&](const std::string&, const std::string&, std::int32_t, std::int32_t, double) {
        ++reports;
    };
    doomed->Execute();
    PumpUntil([&] { return reports > 0; }, 10000);
    doomed.reset();  // waits for its worker, serving its reports
    PumpUntil([] { return false; }, 200);  // its end message, if any, finds no scanner
}

// Links: reported as entries, never followed, never destroyed through.
class ScannerLinks : public ::testing::Test {
protected:
    std::string Base(int n) const { return "C:\\tw-links\\tree" + std::to_string(n) + "\\"; }
    std::string Outside(int n) const { return "C:\\tw-links\\outside" + std::to_string(n) + "\\"; }
};

TEST_F(ScannerLinks, FolderLinksAreNotEnteredAndSweepsLeaveLinkedFiles) {
    ASSERT_TRUE(FileExists(Base(1) + "folder-link")) << "run tests/win32/link_fixtures.sh first";
    TBaseScanner scanner;
    scanner.ScanStrategy = TScanStrategy::ssSpecifiedDir;
    scanner.Directory = Base(1);
    scanner.Attributes = 0;
    ScanRun run(scanner);
    RemovalContext removal;
    run.onFound = [&](const Found& f) {
        if (!(f.attributes & FILE_ATTRIBUTE_DIRECTORY)) SecureDeleteFile(f.path + "\\" + f.name, removal);
    };
    ASSERT_TRUE(run.Run());
    const std::set<std::string> names = run.Names();
    EXPECT_TRUE(names.count("folder-link"));
    EXPECT_FALSE(names.count("inner.txt"));
    EXPECT_TRUE(names.count("file-link.txt"));
    // The sweep removed the tree's own files and nothing outside it.
    EXPECT_FALSE(FileExists(Base(1) + "plain.txt"));
    EXPECT_FALSE(FileExists(Base(1) + "sub\\deep.txt"));
    EXPECT_EQ(ReadTextFile(Outside(1) + "secret.txt"), "sentinel file 1");
    EXPECT_EQ(ReadTextFile(Outside(1) + "folder\\inner.txt"), "sentinel in folder 1");
    EXPECT_TRUE(FileExists(Base(1) + "file-link.txt"));
}

}  // namespace
}  // namespace tarnwell::testing
