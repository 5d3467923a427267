// The Media Players tab end to end: the real program, clicked as a user
// clicks, over the Flash Player folder of the prefix's own profile, player
// folders in the test's own folder (named to the program in the registry)
// and the players' recent lists in the registry.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/control_table.h"
#include "app/registry_win.h"
#include "engine/registry_cleaner.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/registry_values.h"
#include "tests/win32/support/tab_fixture.h"

namespace tarnwell::testing {
namespace {

const std::string kQuickTime = "Software\\Apple Computer, Inc.\\QuickTime\\LocalUserPreferences";
const std::string kShockwave = "Software\\Macromedia\\Shockwave 10\\preffileloc";
const std::string kRealPlayer = "Software\\RealNetworks\\RealPlayer\\6.0\\Preferences\\MostRecentClips";
const std::string kMediaPlayer = "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList";

class MediaPlayersTab : public TabTest {
protected:
    void SetUp() override {
        for (const std::string& key : {kQuickTime, kShockwave}) {
            savedKeys.Save(HKEY_LOCAL_MACHINE, key);
            DeleteKeyTree(HKEY_LOCAL_MACHINE, key);
        }
        for (const std::string& key : {std::string("Software\\RealNetworks"), kMediaPlayer}) {
            savedKeys.Save(HKEY_CURRENT_USER, key);
            DeleteKeyTree(HKEY_CURRENT_USER, key);
        }
        flash = std::string(std::getenv("USERPROFILE")) + "\\Application Data\\Macromedia\\Flash Player\\";
        ASSERT_FALSE(FileExists(flash)) << "the prefix's Flash Player folder must be the test's own";
    }
    // The Flash Player folder: three sites below the shared objects, one of
    // them kept and one kept under another letter case, a file kept by its
    // own name, and the player's settings folder beside them.
    void PlantFlash() {
        so = flash + "#SharedObjects\\K3Y9Q2LM\\";
        for (const std::string& file :
             {so + "kept.example.org\\visits.sol", so + "kept.example.org\\game\\score.sol",
              so + "gone.example.com\\tracker.sol", so + "mixed.example.net\\prefs.sol", so + "keepme.sol",
              flash + "macromedia.com\\support\\flashplayer\\sys\\settings.sol"})
            ASSERT_TRUE(planted.File(file, "shared object")) << file;
    }
    static std::string KeepList() {
        return "[Settings.FlashDstList_Items]\r\nCount=3\r\nItem0=kept.example.org\r\nItem1=MIXED.example.net\r\n"
               "Item2=keepme.sol\r\n";
    }
    void InstallPlayers() {
        ASSERT_TRUE(MakeDirectories(folder / "qt"));
        ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, kQuickTime, "FolderPath", folder / "qt"));
        ASSERT_TRUE(MakeDirectories(folder / "sw\\prefs"));
        ASSERT_TRUE(WriteTextFile(folder / "sw\\prefs\\dswmedia.prf", "prefs"));
        ASSERT_TRUE(WriteTextFile(folder / "sw\\prefs\\xtras.prf", "prefs"));
        ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, kShockwave, "", folder / "sw\\prefs"));
    }

    RegistryKeys savedKeys;  // the players' keys as they were, back afterwards
    std::string flash, so;
};

TEST_F(MediaPlayersTab, AnalyzeCountsEveryItemAndLeavesTheButtonsEnabled) {
    PlantFlash();
    InstallPlayers();
    for (int i : {1, 2, 5}) ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kRealPlayer + std::to_string(i), "", "clip.rm"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kMediaPlayer, "File0", "C:\\music\\song.wma"));
    Start("[Settings]\r\n" + KeepList());
    Click(ctl::MPAnalyzeBTN);
    EXPECT_TRUE(program->Enabled(ctl::MPSweepBTN));
    EXPECT_TRUE(program->Enabled(ctl::SweepAllBTN));
    ASSERT_TRUE(WaitUntil([&] { return Label(ctl::FlashSO) != "Analyzing..." && Label(ctl::Shockwave) != "Analyzing..."; }));
    EXPECT_EQ(Label(ctl::QTRecentFiles), "0 bytes");  // the folder without its favourites file
    EXPECT_EQ(Label(ctl::RPRecentFiles), "3 item(s)");
    EXPECT_EQ(Label(ctl::WMPRecentFiles), "1 item(s)");
    // Every entry below the Flash Player folder, kept ones included: six
    // files and ten folders.
    EXPECT_EQ(Label(ctl::FlashSO), "16 file(s)");
    EXPECT_EQ(Label(ctl::Shockwave), "2 file(s)");
    EXPECT_TRUE(FileExists(so + "gone.example.com\\tracker.sol"));
}

TEST_F(MediaPlayersTab, FlashSweepSparesKeptSitesAndFilesAndRemovesEveryOtherFolder) {
    PlantFlash();
    Start("[Settings]\r\nFlashSOCB_Checked=True\r\n" + KeepList());
    ASSERT_TRUE(ClickAndWait(ctl::MPSweepBTN));
    EXPECT_EQ(Label(ctl::FlashSO), "Files deleted.");
    EXPECT_EQ(ReadTextFile(so + "kept.example.org\\visits.sol"), "shared object");
    EXPECT_EQ(ReadTextFile(so + "kept.example.org\\game\\score.sol"), "shared object");
    EXPECT_FALSE(FileExists(so + "gone.example.com"));
    // Kept under another letter case: the folder stays, its file does not.
    EXPECT_TRUE(FileExists(so + "mixed.example.net"));
    EXPECT_FALSE(FileExists(so + "mixed.example.net\\prefs.sol"));
    EXPECT_TRUE(FileExists(so + "keepme.sol"));
    EXPECT_FALSE(FileExists(flash + "macromedia.com"));
    EXPECT_TRUE(FileExists(flash + "#SharedObjects"));
    EXPECT_EQ(Label(ctl::Shockwave), "Unknown");
}

TEST_F(MediaPlayersTab, WithoutSharedObjectsASweepDestroysFilesButRemovesNoFolder) {
    ASSERT_TRUE(planted.File(flash + "macromedia.com\\support\\settings.sol", "settings"));
    ASSERT_TRUE(planted.File(flash + "loose.sol", "loose"));
    Start("[Settings]\r\nFlashSOCB_Checked=True\r\nShockwaveCB_Checked=True\r\n");
    ASSERT_TRUE(ClickAndWait(ctl::MPSweepBTN));
    EXPECT_EQ(Label(ctl::FlashSO), "Files deleted.");
    EXPECT_EQ(Label(ctl::Shockwave), "Not Found.");  // no Shockwave folder, and Flash ran all the same
    EXPECT_FALSE(FileExists(flash + "loose.sol"));
    EXPECT_FALSE(FileExists(flash + "macromedia.com\\support\\settings.sol"));
    EXPECT_TRUE(FileExists(flash + "macromedia.com\\support"));
}

TEST_F(MediaPlayersTab, OnlyTheRealPlayerKeysThatExistGoWhenOnlyTheirBoxIsChecked) {
    InstallPlayers();
    ASSERT_TRUE(WriteTextFile(folder / "qt\\QuickTimeFavorites.qtr", std::string(123, 'q')));
    for (int i : {1, 2, 5}) ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kRealPlayer + std::to_string(i), "", "clip.rm"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kMediaPlayer, "File0", "C:\\music\\song.wma"));
    // The three players' boxes start checked.
    Start("[Settings]\r\nQTRecentFilesCB_Checked=False\r\nWMPRecentFilesCB_Checked=False\r\n");
    PostCommand(ctl::SweepMPHistMNU);
    ASSERT_TRUE(WaitUntil([&] { return Label(ctl::RPRecentFiles) != "Unknown"; }));
    ASSERT_TRUE(WaitUntilIdle(ctl::MPSweepBTN));
    EXPECT_EQ(Label(ctl::RPRecentFiles), "3 item(s) deleted.");
    for (int i : {1, 2, 5}) EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, (kRealPlayer + std::to_string(i)).c_str(), ""));
    EXPECT_EQ(Label(ctl::QTRecentFiles), "Unknown");
    EXPECT_TRUE(FileExists(folder / "qt\\QuickTimeFavorites.qtr"));
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kMediaPlayer.c_str(), "File0"), "C:\\music\\song.wma");

    Click(ctl::QTRecentFilesCB);
    ASSERT_TRUE(ClickAndWait(ctl::MPSweepBTN));
    EXPECT_EQ(Label(ctl::QTRecentFiles), "123 bytes deleted.");
    EXPECT_FALSE(FileExists(folder / "qt\\QuickTimeFavorites.qtr"));
}

// Analyze leaves the buttons enabled, but a Sweep clicked while its walks
// still run is ignored: it would turn them into deleting walks.
TEST_F(MediaPlayersTab, ASweepClickedWhileTheAnalysisWalksRunIsIgnored) {
    PlantFlash();
    InstallPlayers();
    Start("[Settings]\r\nMPAllCB_Checked=True\r\n" + KeepList());
    // Both clicks wait in the window's queue: the second is handled right
    // after the first has started the walks.
    ::PostMessageA(program->Control(ctl::MPAnalyzeBTN), BM_CLICK, 0, 0);
    ::PostMessageA(program->Control(ctl::MPSweepBTN), BM_CLICK, 0, 0);
    ASSERT_TRUE(program->WaitUntilPostedMessagesHandled());
    ASSERT_TRUE(WaitUntil([&] { return Label(ctl::FlashSO) != "Analyzing..." && Label(ctl::Shockwave) != "Analyzing..."; }));
    ASSERT_TRUE(program->WaitUntilPostedMessagesHandled());
    EXPECT_EQ(Label(ctl::FlashSO), "16 file(s)");
    EXPECT_EQ(Label(ctl::Shockwave), "2 file(s)");
    EXPECT_TRUE(FileExists(so + "gone.example.com\\tracker.sol"));
    EXPECT_TRUE(FileExists(folder / "sw\\prefs\\xtras.prf"));
}

// The Flash Player folder lies in the user's profile on the NT family and
// below the Windows folder on the 95 family; Sweep All reaches the tab in
// both.
class MediaPlayersFamilies : public MediaPlayersTab, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        MediaPlayersTab::SetUp();
        RunAs(GetParam());
        if (std::string(GetParam()) != "win98") return;
        char windows[MAX_PATH] = {};
        ASSERT_GT(::GetWindowsDirectoryA(windows, MAX_PATH), 0u);
        flash = std::string(windows) + "\\Application Data\\Macromedia\\Flash Player\\";
        ASSERT_FALSE(FileExists(flash)) << "the Flash Player folder must be the test's own";
    }
};

TEST_P(MediaPlayersFamilies, SweepAllSweepsEveryPlayer) {
    PlantFlash();
    InstallPlayers();
    ASSERT_TRUE(WriteTextFile(folder / "qt\\QuickTimeFavorites.qtr", std::string(40, 'q')));
    Start("[Settings]\r\nMPAllCB_Checked=True\r\n" + KeepList());
    ASSERT_TRUE(ClickAndWait(ctl::SweepAllBTN));
    ASSERT_TRUE(WaitUntilIdle(ctl::MPSweepBTN));
    EXPECT_EQ(Label(ctl::QTRecentFiles), "40 bytes deleted.");
    EXPECT_EQ(Label(ctl::FlashSO), "Files deleted.");
    EXPECT_EQ(Label(ctl::Shockwave), "2 file(s) deleted.");
    EXPECT_EQ(ReadTextFile(so + "kept.example.org\\game\\score.sol"), "shared object");
    EXPECT_FALSE(FileExists(so + "gone.example.com"));
    EXPECT_FALSE(FileExists(flash + "macromedia.com"));
    EXPECT_FALSE(FileExists(folder / "sw\\prefs\\xtras.prf"));
}

INSTANTIATE_TEST_SUITE_P(Families, MediaPlayersFamilies, ::testing::Values("win98", "winxp"));

}  // namespace
}  // namespace tarnwell::testing
