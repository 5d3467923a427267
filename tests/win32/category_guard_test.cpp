// What a category tab must never do, whoever asks: turn a running analysis
// into a sweep, or wipe a drive or a system folder it was pointed at. The
// real program on both built tabs, driven and observed from outside.
#include <gtest/gtest.h>

#include "app/control_table.h"
#include "tests/win32/support/registry_values.h"
#include "tests/win32/support/tab_fixture.h"

namespace tarnwell::testing {
namespace {

const char* kUserShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// The controls of one tab's folder item that the tests drive.
struct FolderItem {
    int analyzeButton, sweepButton, label;
    const char* box;  // component name in the settings file
};
const FolderItem kWindowsTemp{ctl::WAnalyzeBTN, ctl::WSweepBTN, ctl::TempFiles, "TempFilesCB"};
const FolderItem kIETemp{ctl::IEAnalyzeBTN, ctl::IESweepBTN, ctl::IETempFiles, "IETempFilesCB"};

// Enough entries that the walk is still running when the sweep request
// arrives, in folders of a hundred.
std::string PlantManyFiles(const std::string& root, int folders) {
    for (int f = 0; f < folders; ++f) {
        const std::string sub = root + "\\d" + std::to_string(f);
        EXPECT_TRUE(MakeDirectories(sub)) << sub;
        for (int i = 0; i < 100; ++i) EXPECT_TRUE(WriteTextFile(sub + "\\f" + std::to_string(i) + ".tmp", "x"));
    }
    return root + "\\d0\\f0.tmp";
}

class CategoryGuard : public TabTest {
protected:
    void Start(const FolderItem& item, const std::vector<std::string>& environment = {}) {
        TabTest::Start(std::string("[Settings]\r\n") + item.box + "_Checked=True\r\n", environment);
    }
    // A file where a sweep must not reach; the test fails at once if it
    // cannot be planted.
    void PlantSentinel(const std::string& path) { ASSERT_TRUE(planted.File(path, "sentinel")) << path; }
    // The button's click as any caller inside the program makes it (a hot
    // key, a timer, the tray), whatever the button's enabled state; back
    // once the program has handled it.
    void RequestFromInside(int button) const {
        HWND control = program->Control(button);
        ::SendMessageA(::GetParent(control), WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                       reinterpret_cast<LPARAM>(control));
    }
    void SweepAndWait(const FolderItem& item) { ASSERT_TRUE(ClickAndWait(item.sweepButton)); }

    void ExpectSweepDuringAnalysisIgnored(const FolderItem& item, const std::string& sample, int entries) {
        Click(item.analyzeButton);
        RequestFromInside(item.sweepButton);
        // The request reached the program while the walk still ran...
        ASSERT_EQ(Label(item.label), "Analyzing...")
            << "the request changed the running item, or the walk ended before it (then plant more files)";
        ASSERT_TRUE(WaitUntilIdle(item.analyzeButton));
        // ...and was dropped: the walk only counted, and nothing was deleted.
        EXPECT_EQ(Label(item.label), std::to_string(entries) + " file(s)");
        EXPECT_TRUE(FileExists(sample));
        // Once idle, the same request sweeps.
        RequestFromInside(item.sweepButton);
        ASSERT_TRUE(WaitUntilIdle(item.analyzeButton));
        EXPECT_EQ(Label(item.label), std::to_string(entries) + " file(s) deleted.");
        EXPECT_FALSE(FileExists(sample));
    }
};

TEST_F(CategoryGuard, WindowsSweepDuringAnalysisIsIgnored) {
    const std::string temp = folder / "temp";
    const std::string sample = PlantManyFiles(temp, 30);
    Start(kWindowsTemp, {"TEMP=" + temp, "TMP=" + temp});
    ExpectSweepDuringAnalysisIgnored(kWindowsTemp, sample, 30 * 101);
}

TEST_F(CategoryGuard, IESweepDuringAnalysisIsIgnored) {
    // The 95 family reads the cache folder from the user's shell folders.
    RunAs("win98");
    const std::string cache = folder / "cache";
    const std::string sample = PlantManyFiles(cache, 30);
    RegistryValues registry;
    registry.Set(HKEY_CURRENT_USER, kUserShellFolders, "Cache", cache);
    Start(kIETemp);
    ExpectSweepDuringAnalysisIgnored(kIETemp, sample, 30 * 101);
}

// Sweep All sweeps the Windows tab twice; the second request arrives while
// the first sweep's walk runs and is the one that must wait, not be dropped.
TEST_F(CategoryGuard, SweepAllRunsTheSecondWindowsSweepAfterTheFirst) {
    const std::string temp = folder / "temp";
    PlantManyFiles(temp, 5);
    Start(kWindowsTemp, {"TEMP=" + temp, "TMP=" + temp});
    ASSERT_TRUE(ClickAndWait(ctl::SweepAllBTN));
    // The first sweep destroyed 500 files; the second found the 5 folders.
    EXPECT_EQ(Label(ctl::TempFiles), "5 file(s) deleted.");
    EXPECT_EQ(EntriesBelow(temp), 5);
}

// A sweep destroys what lies below the folder it was pointed at, never
// what a link inside leads to. Uses the fifth and sixth trees of
// tests/win32/link_fixtures.sh.
TEST_F(CategoryGuard, FolderItemNeverReachesThroughLinksInside) {
    const std::string tree = "C:\\tw-links\\tree5", outside = "C:\\tw-links\\outside5\\";
    ASSERT_TRUE(FileExists(tree + "\\folder-link")) << "run tests/win32/link_fixtures.sh first";
    Start(kWindowsTemp, {"TEMP=" + tree, "TMP=" + tree});
    SweepAndWait(kWindowsTemp);
    EXPECT_EQ(Label(ctl::TempFiles), "5 file(s) deleted.");
    EXPECT_EQ(ReadTextFile(outside + "secret.txt"), "sentinel file 5");
    EXPECT_EQ(ReadTextFile(outside + "folder\\inner.txt"), "sentinel in folder 5");
    EXPECT_FALSE(FileExists(tree + "\\plain.txt"));
    EXPECT_FALSE(FileExists(tree + "\\sub\\deep.txt"));
}

// A temp folder reached through a link (as a mapped drive or a system
// junction is) is swept as named; earlier the final-path check refused
// every file there while the label said "deleted".
TEST_F(CategoryGuard, FolderItemReachedThroughALinkIsSwept) {
    const std::string named = "C:\\tw-links\\root-link6", real = "C:\\tw-links\\tree6\\";
    ASSERT_TRUE(FileExists(named + "\\plain.txt")) << "run tests/win32/link_fixtures.sh first";
    Start(kWindowsTemp, {"TEMP=" + named, "TMP=" + named});
    SweepAndWait(kWindowsTemp);
    EXPECT_EQ(Label(ctl::TempFiles), "5 file(s) deleted.");
    EXPECT_FALSE(FileExists(real + "plain.txt"));
    EXPECT_FALSE(FileExists(real + "sub\\deep.txt"));
    EXPECT_EQ(ReadTextFile("C:\\tw-links\\outside6\\secret.txt"), "sentinel file 6");
}

TEST_F(CategoryGuard, TempFolderAtDriveRootIsNeverSwept) {
    const std::string sentinel = "C:\\tw-guard-sentinel.txt";
    PlantSentinel(sentinel);
    Start(kWindowsTemp, {"TEMP=C:\\", "TMP=C:\\"});
    SweepAndWait(kWindowsTemp);
    EXPECT_EQ(Label(ctl::TempFiles), "Not Found.");
    EXPECT_TRUE(FileExists(sentinel)) << sentinel << " was destroyed";
}

// A temp path longer than Windows accepts used to read as "\": the root of
// the current drive.
TEST_F(CategoryGuard, UnreadableTempFolderIsNotFound) {
    const std::string sentinel = "C:\\tw-guard-sentinel.txt";
    PlantSentinel(sentinel);
    const std::string tooLong = "C:\\" + std::string(300, 't');
    Start(kWindowsTemp, {"TEMP=" + tooLong, "TMP=" + tooLong});
    SweepAndWait(kWindowsTemp);
    EXPECT_EQ(Label(ctl::TempFiles), "Not Found.");
    EXPECT_TRUE(FileExists(sentinel)) << sentinel << " was destroyed";
}

TEST_F(CategoryGuard, TempFolderAtWindowsFolderIsNeverSwept) {
    char windows[MAX_PATH] = {};
    ASSERT_GT(::GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    const std::string sentinel = std::string(windows) + "\\tw-guard-sentinel.txt";
    PlantSentinel(sentinel);
    Start(kWindowsTemp, {std::string("TEMP=") + windows, std::string("TMP=") + windows});
    SweepAndWait(kWindowsTemp);
    EXPECT_EQ(Label(ctl::TempFiles), "Not Found.");
    EXPECT_TRUE(FileExists(sentinel)) << sentinel << " was destroyed";
}

TEST_F(CategoryGuard, IECacheAtDriveRootIsNeverSwept) {
    RunAs("win98");
    const std::string sentinel = "C:\\tw-guard-sentinel.txt";
    PlantSentinel(sentinel);
    RegistryValues registry;
    registry.Set(HKEY_CURRENT_USER, kUserShellFolders, "Cache", "C:\\");
    Start(kIETemp);
    SweepAndWait(kIETemp);
    EXPECT_EQ(Label(ctl::IETempFiles), "Not Found.");
    EXPECT_TRUE(FileExists(sentinel)) << sentinel << " was destroyed";
}

}  // namespace
}  // namespace tarnwell::testing
