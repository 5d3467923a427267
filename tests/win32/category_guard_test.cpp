// What a category tab must never do, whoever asks: turn a running analysis
// into a sweep, or wipe a drive or a system folder it was pointed at. The
// real program on both built tabs, driven and observed from outside.
#include <gtest/gtest.h>

#include <optional>

#include "app/control_table.h"
#include "app/registry_win.h"
#include "tests/win32/support/tarnwell_process.h"

namespace tarnwell::testing {
namespace {

const char* kUserShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// One registry string value set for as long as the object lives; the
// value it replaced comes back afterwards, or goes if there was none.
class RegistryValueOverride {
public:
    RegistryValueOverride(const char* key, const char* value, const std::string& data)
        : key_(key), value_(value), previous_(ReadRegistryString(HKEY_CURRENT_USER, key, value)) {
        SetRegistryString(HKEY_CURRENT_USER, key_, value_, data);
    }
    ~RegistryValueOverride() {
        if (previous_) {
            SetRegistryString(HKEY_CURRENT_USER, key_, value_, *previous_);
            return;
        }
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
        ::RegDeleteValueA(key, value_.c_str());
        ::RegCloseKey(key);
    }
    RegistryValueOverride(const RegistryValueOverride&) = delete;
    RegistryValueOverride& operator=(const RegistryValueOverride&) = delete;

private:
    std::string key_, value_;
    std::optional<std::string> previous_;
};

// Files the test puts where a sweep must not reach, removed afterwards
// only if they are still there.
class Sentinels {
public:
    void Plant(const std::string& path) {
        WriteTextFile(path, "sentinel");
        ASSERT_TRUE(FileExists(path)) << path;
        paths_.push_back(path);
    }
    void ExpectAllPresent() const {
        for (const std::string& path : paths_) EXPECT_TRUE(FileExists(path)) << path << " was destroyed";
    }
    ~Sentinels() {
        for (const std::string& path : paths_) ::DeleteFileA(path.c_str());
    }

private:
    std::vector<std::string> paths_;
};

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
        for (int i = 0; i < 100; ++i) WriteTextFile(sub + "\\f" + std::to_string(i) + ".tmp", "x");
    }
    return root + "\\d0\\f0.tmp";
}

class CategoryGuard : public ::testing::Test {
protected:
    void TearDown() override {
        if (program && program->Running()) {
            program->EndSession();
            program->WaitForExit();
        }
    }
    void Start(const FolderItem& item, const std::vector<std::string>& environment = {}) {
        WriteTextFile(folder / "settings.ini", std::string("[Settings]\r\n") + item.box + "_Checked=True\r\n");
        program = std::make_unique<TarnwellProcess>(folder.Path(), "", environment);
        ASSERT_TRUE(program->WaitForMainWindow());
    }
    // The button's click as any caller inside the program makes it (a hot
    // key, a timer, the tray), whatever the button's enabled state; back
    // once the program has handled it.
    void RequestFromInside(int button) const {
        HWND control = program->Control(button);
        ::SendMessageA(::GetParent(control), WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                       reinterpret_cast<LPARAM>(control));
    }
    void SweepAndWait(const FolderItem& item) {
        program->Click(item.sweepButton);
        ASSERT_TRUE(program->WaitUntilEnabled(item.sweepButton));
    }

    void ExpectSweepDuringAnalysisIgnored(const FolderItem& item, const std::string& sample, int entries) {
        program->Click(item.analyzeButton);
        RequestFromInside(item.sweepButton);
        // The request reached the program while the walk still ran...
        ASSERT_EQ(program->Text(item.label), "Analyzing...")
            << "the request changed the running item, or the walk ended before it (then plant more files)";
        ASSERT_TRUE(program->WaitUntilEnabled(item.analyzeButton));
        // ...and was dropped: the walk only counted, and nothing was deleted.
        EXPECT_EQ(program->Text(item.label), std::to_string(entries) + " file(s)");
        EXPECT_TRUE(FileExists(sample));
        // Once idle, the same request sweeps.
        RequestFromInside(item.sweepButton);
        ASSERT_TRUE(program->WaitUntilEnabled(item.analyzeButton));
        EXPECT_EQ(program->Text(item.label), std::to_string(entries) + " file(s) deleted.");
        EXPECT_FALSE(FileExists(sample));
    }

    TempFolder folder;
    std::unique_ptr<TarnwellProcess> program;
};

TEST_F(CategoryGuard, WindowsSweepDuringAnalysisIsIgnored) {
    const std::string temp = folder / "temp";
    const std::string sample = PlantManyFiles(temp, 30);
    Start(kWindowsTemp, {"TEMP=" + temp, "TMP=" + temp});
    ExpectSweepDuringAnalysisIgnored(kWindowsTemp, sample, 30 * 101);
}

TEST_F(CategoryGuard, IESweepDuringAnalysisIsIgnored) {
    // The 95 family reads the cache folder from the user's shell folders.
    WindowsVersionOverride version("win98");
    const std::string cache = folder / "cache";
    const std::string sample = PlantManyFiles(cache, 30);
    RegistryValueOverride cacheFolder(kUserShellFolders, "Cache", cache);
    Start(kIETemp);
    ExpectSweepDuringAnalysisIgnored(kIETemp, sample, 30 * 101);
}

// Sweep All sweeps the Windows tab twice; the second request arrives while
// the first sweep's walk runs and is the one that must wait, not be dropped.
TEST_F(CategoryGuard, SweepAllRunsTheSecondWindowsSweepAfterTheFirst) {
    const std::string temp = folder / "temp";
    PlantManyFiles(temp, 5);
    Start(kWindowsTemp, {"TEMP=" + temp, "TMP=" + temp});
    program->Click(ctl::SweepAllBTN);
    ASSERT_TRUE(program->WaitUntilEnabled(ctl::SweepAllBTN));
    // The first sweep destroyed 500 files; the second found the 5 folders.
    EXPECT_EQ(program->Text(ctl::TempFiles), "5 file(s) deleted.");
    EXPECT_EQ(EntriesBelow(temp), 5);
}

TEST_F(CategoryGuard, TempFolderAtDriveRootIsNeverSwept) {
    Sentinels sentinels;
    sentinels.Plant("C:\\tw-guard-sentinel.txt");
    Start(kWindowsTemp, {"TEMP=C:\\", "TMP=C:\\"});
    SweepAndWait(kWindowsTemp);
    EXPECT_EQ(program->Text(ctl::TempFiles), "Not Found.");
    sentinels.ExpectAllPresent();
}

// A temp path longer than Windows accepts used to read as "\": the root of
// the current drive.
TEST_F(CategoryGuard, UnreadableTempFolderIsNotFound) {
    Sentinels sentinels;
    sentinels.Plant("C:\\tw-guard-sentinel.txt");
    const std::string tooLong = "C:\\" + std::string(300, 't');
    Start(kWindowsTemp, {"TEMP=" + tooLong, "TMP=" + tooLong});
    SweepAndWait(kWindowsTemp);
    EXPECT_EQ(program->Text(ctl::TempFiles), "Not Found.");
    sentinels.ExpectAllPresent();
}

TEST_F(CategoryGuard, TempFolderAtWindowsFolderIsNeverSwept) {
    char windows[MAX_PATH] = {};
    ASSERT_GT(::GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    Sentinels sentinels;
    sentinels.Plant(std::string(windows) + "\\tw-guard-sentinel.txt");
    Start(kWindowsTemp, {std::string("TEMP=") + windows, std::string("TMP=") + windows});
    SweepAndWait(kWindowsTemp);
    EXPECT_EQ(program->Text(ctl::TempFiles), "Not Found.");
    sentinels.ExpectAllPresent();
}

TEST_F(CategoryGuard, IECacheAtDriveRootIsNeverSwept) {
    WindowsVersionOverride version("win98");
    Sentinels sentinels;
    sentinels.Plant("C:\\tw-guard-sentinel.txt");
    RegistryValueOverride cacheFolder(kUserShellFolders, "Cache", "C:\\");
    Start(kIETemp);
    SweepAndWait(kIETemp);
    EXPECT_EQ(program->Text(ctl::IETempFiles), "Not Found.");
    sentinels.ExpectAllPresent();
}

}  // namespace
}  // namespace tarnwell::testing
