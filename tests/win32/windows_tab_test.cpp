// The Windows tab end to end: the real program, clicked as a user clicks,
// over files and registry lists planted in the test prefix.
#include <gtest/gtest.h>

#include "app/control_table.h"
#include "app/known_locations.h"
#include "app/registry_win.h"
#include "engine/registry_cleaner.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/registry_values.h"
#include "tests/win32/support/tab_fixture.h"

namespace tarnwell::testing {
namespace {

const std::string kRunMRU = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
constexpr const char* kChkFiles[] = {"C:\\FILE0000.CHK", "C:\\file0001.chk", "C:\\other.chk"};

void SetString(const std::string& key, const std::string& value, const std::string& data) {
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, key, value, data)) << key << "\\" << value;
}

class WindowsTab : public TabTest {
protected:
    void SetUp() override {
        temp = folder / "temp";
        for (const char* name : {"a.tmp", "b.tmp", "nested\\c.tmp"})
            ASSERT_TRUE(planted.File(temp + "\\" + name)) << name;
        recycle = "c:\\recycler\\" + GetUserSidText();
        for (const char* name : {"Dc1.txt", "Dc2.doc", "desktop.ini"})
            ASSERT_TRUE(planted.File(recycle + "\\" + name)) << name;
        for (const char* name : kChkFiles) ASSERT_TRUE(planted.File(name)) << name;
        ASSERT_TRUE(planted.File("C:\\tw-chk-sub\\FILE0002.CHK"));
        savedKeys.Save(HKEY_CURRENT_USER, kRunMRU);
        DeleteKeyTree(HKEY_CURRENT_USER, kRunMRU);
        SetString(kRunMRU, "a", "notepad\\1");
        SetString(kRunMRU, "b", "cmd\\1");
        SetString(kRunMRU, "MRUList", "ab");
    }
    // The program's temporary folder is `tempFolder`.
    void StartWithTemp(const std::string& settings, const std::string& tempFolder) {
        Start(settings, {"TEMP=" + tempFolder, "TMP=" + tempFolder});
    }

    std::string temp, recycle;
    RegistryKeys savedKeys;  // the Run list as it was, back afterwards
};

TEST_F(WindowsTab, AnalyzeCountsEveryItemWithNoBoxChecked) {
    StartWithTemp("[Settings]\r\n", temp);
    const std::string recent = *ReadRegistryString(
        HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Recent");
    ASSERT_TRUE(ClickAndWait(ctl::WAnalyzeBTN));
    EXPECT_TRUE(program->Enabled(ctl::SweepAllBTN));
    EXPECT_EQ(Label(ctl::CHKFiles), "2 file(s)");       // root only, file*.chk only
    EXPECT_EQ(Label(ctl::TempFiles), "4 file(s)");      // three files and a folder
    EXPECT_EQ(Label(ctl::RecycleFiles), "3 file(s)");
    EXPECT_EQ(Label(ctl::RecentFiles), std::to_string(EntriesBelow(recent)) + " item(s)");
    EXPECT_EQ(Label(ctl::WRunField), "2 item(s)");
    EXPECT_EQ(Label(ctl::WFindFields), "0 item(s)");
    // Nothing was removed by analysing.
    EXPECT_TRUE(FileExists(temp + "\\a.tmp"));
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kRunMRU.c_str(), "a"), "notepad\\1");
}

TEST_F(WindowsTab, SweepOfOneItemTouchesOnlyItsLabel) {
    StartWithTemp("[Settings]\r\nWRunFieldCB_Checked=True\r\n", temp);
    ASSERT_TRUE(ClickAndWait(ctl::WSweepBTN));
    EXPECT_EQ(Label(ctl::WRunField), "2 item(s) deleted.");
    EXPECT_EQ(Label(ctl::TempFiles), "Unknown");
    EXPECT_EQ(Label(ctl::CHKFiles), "Unknown");
    EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, kRunMRU.c_str(), "a"));
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kRunMRU.c_str(), "MRUList"), "");
    EXPECT_TRUE(FileExists(temp + "\\a.tmp"));
}

TEST_F(WindowsTab, RecycleSweepSparesDesktopIniAndTempSweepKeepsFolders) {
    StartWithTemp("[Settings]\r\nRecycleFilesCB_Checked=True\r\nTempFilesCB_Checked=True\r\n", temp);
    ASSERT_TRUE(ClickAndWait(ctl::WSweepBTN));
    EXPECT_EQ(Label(ctl::RecycleFiles), "3 file(s) deleted.");
    EXPECT_FALSE(FileExists(recycle + "\\Dc1.txt"));
    EXPECT_FALSE(FileExists(recycle + "\\Dc2.doc"));
    EXPECT_TRUE(FileExists(recycle + "\\desktop.ini"));
    EXPECT_EQ(Label(ctl::TempFiles), "4 file(s) deleted.");
    EXPECT_FALSE(FileExists(temp + "\\nested\\c.tmp"));
    EXPECT_TRUE(FileExists(temp + "\\nested"));
}

TEST_F(WindowsTab, MissingTempFolderShowsNotFoundAndTheButtonsComeBack) {
    StartWithTemp("[Settings]\r\n", folder / "no-such-temp");
    ASSERT_TRUE(ClickAndWait(ctl::WAnalyzeBTN));
    EXPECT_EQ(Label(ctl::TempFiles), "Not Found.");
    EXPECT_EQ(Label(ctl::WRunField), "2 item(s)");
}

TEST_F(WindowsTab, ChkSweepLeavesSubfoldersAndOtherNames) {
    StartWithTemp("[Settings]\r\nCHKFilesCB_Checked=True\r\n", temp);
    ASSERT_TRUE(ClickAndWait(ctl::WSweepBTN));
    EXPECT_EQ(Label(ctl::CHKFiles), "2 file(s) deleted.");
    EXPECT_FALSE(FileExists("C:\\FILE0000.CHK"));
    EXPECT_TRUE(FileExists("C:\\other.chk"));
    EXPECT_TRUE(FileExists("C:\\tw-chk-sub\\FILE0002.CHK"));
}

TEST_F(WindowsTab, SweepAllRunsTheWindowsSweepAndEnablesItselfAgain) {
    StartWithTemp("[Settings]\r\nWAllCB_Checked=True\r\n", temp);
    ASSERT_TRUE(ClickAndWait(ctl::SweepAllBTN));
    ASSERT_TRUE(WaitUntilIdle(ctl::WSweepBTN));
    // The second Windows sweep finds the lists already empty.
    EXPECT_EQ(Label(ctl::WRunField), "0 item(s) deleted.");
    EXPECT_FALSE(FileExists(temp + "\\a.tmp"));
    EXPECT_FALSE(FileExists("C:\\FILE0000.CHK"));
}

}  // namespace
}  // namespace tarnwell::testing

namespace tarnwell::testing {
namespace {

// The program as Windows 98, ME and XP see it: the same tab works in each,
// with the recycle bin where that family keeps it.
class WindowsTabFamilies : public WindowsTab, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        RunAs(GetParam());
        WindowsTab::SetUp();
        if (HasFatalFailure()) return;
        for (const char* name : {"DC1.TXT", "desktop.ini"})
            ASSERT_TRUE(planted.File(std::string("C:\\recycled\\") + name)) << name;
    }
};

TEST_P(WindowsTabFamilies, AnalyzeThenSweepAll) {
    StartWithTemp("[Settings]\r\nWAllCB_Checked=True\r\n", temp);
    ASSERT_TRUE(ClickAndWait(ctl::WAnalyzeBTN));
    const bool nt = std::string(GetParam()) == "winxp";
    EXPECT_EQ(Label(ctl::RecycleFiles), nt ? "3 file(s)" : "2 file(s)");
    EXPECT_EQ(Label(ctl::WRunField), "2 item(s)");
    EXPECT_EQ(Label(ctl::TempFiles), "4 file(s)");
    ASSERT_TRUE(ClickAndWait(ctl::SweepAllBTN));
    ASSERT_TRUE(WaitUntilIdle(ctl::WSweepBTN));
    EXPECT_TRUE(FileExists(nt ? recycle + "\\desktop.ini" : "C:\\recycled\\desktop.ini"));
    EXPECT_FALSE(FileExists(nt ? recycle + "\\Dc1.txt" : "C:\\recycled\\DC1.TXT"));
    EXPECT_FALSE(FileExists(temp + "\\a.tmp"));
    EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, kRunMRU.c_str(), "a"));
}

INSTANTIATE_TEST_SUITE_P(Versions, WindowsTabFamilies, ::testing::Values("win98", "winme", "winxp"));

}  // namespace
}  // namespace tarnwell::testing

namespace tarnwell::testing {
namespace {

// The tray menu's commands reach the same handlers as the buttons.
TEST_F(WindowsTab, TrayMenuCommandsRunTheQuickSweepAndShowThePanel) {
    StartWithTemp("[Settings]\r\nWRunFieldCB_Checked=True\r\n", temp);
    ::PostMessageA(program->MainWindow(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !program->WindowVisible(); }));
    PostCommand(ctl::SweepWHistMNU);
    EXPECT_TRUE(WaitUntil([&] { return Label(ctl::WRunField) == "2 item(s) deleted."; }));
    EXPECT_EQ(Label(ctl::TempFiles), "Unknown");
    PostCommand(ctl::LaunchTWCPMNU);
    EXPECT_TRUE(WaitUntil([&] { return program->WindowVisible(); }));
}

}  // namespace
}  // namespace tarnwell::testing
