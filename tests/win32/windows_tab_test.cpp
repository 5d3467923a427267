// The Windows tab end to end: the real program, clicked as a user clicks,
// over files and registry lists planted in the test prefix.
#include <gtest/gtest.h>


#include "app/control_table.h"
#include "app/known_locations.h"
#include "app/registry_win.h"
#include "engine/registry_cleaner.h"
#include "tests/win32/support/tarnwell_process.h"

namespace tarnwell::testing {
namespace {

const std::string kRunMRU = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

void SetString(const std::string& key, const std::string& value, const std::string& data) {
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, key, value, data));
}

class WindowsTab : public ::testing::Test {
protected:
    void SetUp() override {
        temp = folder / "temp";
        ASSERT_TRUE(MakeDirectories(temp));
        for (const char* name : {"a.tmp", "b.tmp"}) ASSERT_TRUE(WriteTextFile(temp + "\\" + name, "x"));
        ASSERT_TRUE(MakeDirectories(temp + "\\nested"));
        ASSERT_TRUE(WriteTextFile(temp + "\\nested\\c.tmp", "x"));
        recycle = "c:\\recycler\\" + GetUserSidText();
        ASSERT_TRUE(MakeDirectories(recycle));
        for (const char* name : {"Dc1.txt", "Dc2.doc", "desktop.ini"}) ASSERT_TRUE(WriteTextFile(recycle + "\\" + name, "x"));
        for (const char* name : {"C:\\FILE0000.CHK", "C:\\file0001.chk", "C:\\other.chk"}) ASSERT_TRUE(WriteTextFile(name, "x"));
        ASSERT_TRUE(MakeDirectories("C:\\tw-chk-sub"));
        ASSERT_TRUE(WriteTextFile("C:\\tw-chk-sub\\FILE0002.CHK", "x"));
        DeleteKeyTree(HKEY_CURRENT_USER, kRunMRU);
        SetString(kRunMRU, "a", "notepad\\1");
        SetString(kRunMRU, "b", "cmd\\1");
        SetString(kRunMRU, "MRUList", "ab");
    }
    void TearDown() override {
        RemoveTree("c:\\recycler");
        RemoveTree("C:\\tw-chk-sub");
        for (const char* name : {"C:\\FILE0000.CHK", "C:\\file0001.chk", "C:\\other.chk"}) ::DeleteFileA(name);
        DeleteKeyTree(HKEY_CURRENT_USER, kRunMRU);
        if (program && program->Running()) {
            program->EndSession();
            program->WaitForExit();
        }
    }
    void Start(const std::string& settings, const std::string& tempFolder) {
        ASSERT_TRUE(WriteTextFile(folder / "settings.ini", settings));
        program = std::make_unique<TarnwellProcess>(folder.Path(), "",
                                                    std::vector<std::string>{"TEMP=" + tempFolder, "TMP=" + tempFolder});
        ASSERT_TRUE(program->WaitForMainWindow());
    }
    std::string Label(int id) const { return program->Text(id); }

    TempFolder folder;
    std::string temp, recycle;
    std::unique_ptr<TarnwellProcess> program;
};

TEST_F(WindowsTab, AnalyzeCountsEveryItemWithNoBoxChecked) {
    Start("[Settings]\r\n", temp);
    const std::string recent = *ReadRegistryString(
        HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Recent");
    program->Click(ctl::WAnalyzeBTN);
    ASSERT_TRUE(program->WaitUntilEnabled(ctl::WAnalyzeBTN));
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
    Start("[Settings]\r\nWRunFieldCB_Checked=True\r\n", temp);
    program->Click(ctl::WSweepBTN);
    ASSERT_TRUE(program->WaitUntilEnabled(ctl::WSweepBTN));
    EXPECT_EQ(Label(ctl::WRunField), "2 item(s) deleted.");
    EXPECT_EQ(Label(ctl::TempFiles), "Unknown");
    EXPECT_EQ(Label(ctl::CHKFiles), "Unknown");
    EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, kRunMRU.c_str(), "a"));
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kRunMRU.c_str(), "MRUList"), "");
    EXPECT_TRUE(FileExists(temp + "\\a.tmp"));
}

TEST_F(WindowsTab, RecycleSweepSparesDesktopIniAndTempSweepKeepsFolders) {
    Start("[Settings]\r\nRecycleFilesCB_Checked=True\r\nTempFilesCB_Checked=True\r\n", temp);
    program->Click(ctl::WSweepBTN);
    ASSERT_TRUE(program->WaitUntilEnabled(ctl::WSweepBTN));
    EXPECT_EQ(Label(ctl::RecycleFiles), "3 file(s) deleted.");
    EXPECT_FALSE(FileExists(recycle + "\\Dc1.txt"));
    EXPECT_FALSE(FileExists(recycle + "\\Dc2.doc"));
    EXPECT_TRUE(FileExists(recycle + "\\desktop.ini"));
    EXPECT_EQ(Label(ctl::TempFiles), "4 file(s) deleted.");
    EXPECT_FALSE(FileExists(temp + "\\nested\\c.tmp"));
    EXPECT_TRUE(FileExists(temp + "\\nested"));
}

TEST_F(WindowsTab, MissingTempFolderShowsNotFoundAndTheButtonsComeBack) {
    Start("[Settings]\r\n", folder / "no-such-temp");
    program->Click(ctl::WAnalyzeBTN);
    ASSERT_TRUE(program->WaitUntilEnabled(ctl::WAnalyzeBTN));
    EXPECT_EQ(Label(ctl::TempFiles), "Not Found.");
    EXPECT_EQ(Label(ctl::WRunField), "2 item(s)");
}

TEST_F(WindowsTab, ChkSweepLeavesSubfoldersAndOtherNames) {
    Start("[Settings]\r\nCHKFilesCB_Checked=True\r\n", temp);
    program->Click(ctl::WSweepBTN);
    ASSERT_TRUE(program->WaitUntilEnabled(ctl::WSweepBTN));
    EXPECT_EQ(Label(ctl::CHKFiles), "2 file(s) deleted.");
    EXPECT_FALSE(FileExists("C:\\FILE0000.CHK"));
    EXPECT_TRUE(FileExists("C:\\other.chk"));
    EXPECT_TRUE(FileExists("C:\\tw-chk-sub\\FILE0002.CHK"));
}

TEST_F(WindowsTab, SweepAllRunsTheWindowsSweepAndEnablesItselfAgain) {
    Start("[Settings]\r\nWAllCB_Checked=True\r\n", temp);
    program->Click(ctl::SweepAllBTN);
    ASSERT_TRUE(program->WaitUntilEnabled(ctl::SweepAllBTN));
    ASSERT_TRUE(program->WaitUntilEnabled(ctl::WSweepBTN));
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
        WindowsTab::SetUp();
        ASSERT_TRUE(MakeDirectories("C:\\recycled"));
        for (const char* name : {"DC1.TXT", "desktop.ini"}) ASSERT_TRUE(WriteTextFile(std::string("C:\\recycled\\") + name, "x"));
    }
    void TearDown() override {
        WindowsTab::TearDown();
        RemoveTree("C:\\recycled");
    }

    WindowsVersionOverride version{GetParam()};
};

TEST_P(WindowsTabFamilies, AnalyzeThenSweepAll) {
    Start("[Settings]\r\nWAllCB_Checked=True\r\n", temp);
    program->Click(ctl::WAnalyzeBTN);
    ASSERT_TRUE(program->WaitUntilEnabled(ctl::WAnalyzeBTN));
    const bool nt = std::string(GetParam()) == "winxp";
    EXPECT_EQ(Label(ctl::RecycleFiles), nt ? "3 file(s)" : "2 file(s)");
    EXPECT_EQ(Label(ctl::WRunField), "2 item(s)");
    EXPECT_EQ(Label(ctl::TempFiles), "4 file(s)");
    program->Click(ctl::SweepAllBTN);
    ASSERT_TRUE(program->WaitUntilEnabled(ctl::SweepAllBTN));
    ASSERT_TRUE(program->WaitUntilEnabled(ctl::WSweepBTN));
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
    Start("[Settings]\r\nWRunFieldCB_Checked=True\r\n", temp);
    ::PostMessageA(program->MainWindow(), WM_CLOSE, 0, 0);
    for (int i = 0; i < 100 && program->WindowVisible(); ++i) ::Sleep(50);
    ASSERT_FALSE(program->WindowVisible());
    ::PostMessageA(program->MainWindow(), WM_COMMAND, ctl::SweepWHistMNU, 0);
    for (int i = 0; i < 200 && Label(ctl::WRunField) != "2 item(s) deleted."; ++i) ::Sleep(50);
    EXPECT_EQ(Label(ctl::WRunField), "2 item(s) deleted.");
    EXPECT_EQ(Label(ctl::TempFiles), "Unknown");
    ::PostMessageA(program->MainWindow(), WM_COMMAND, ctl::LaunchTWCPMNU, 0);
    for (int i = 0; i < 100 && !program->WindowVisible(); ++i) ::Sleep(50);
    EXPECT_TRUE(program->WindowVisible());
}

}  // namespace
}  // namespace tarnwell::testing
