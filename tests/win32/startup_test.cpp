// Start-up and shut-down of the real program: first start, the single
// instance, the command line and how the window closes.
#include <gtest/gtest.h>

#include "app/control_table.h"
#include "app/registry_win.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/planted_files.h"
#include "tests/win32/support/tarnwell_process.h"

namespace tarnwell::testing {
namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string ProfileFolder() {
    char profile[MAX_PATH] = {};
    ::ExpandEnvironmentStringsA("%USERPROFILE%", profile, MAX_PATH);
    return profile;
}

void DeleteRunValue() {
    HKEY run = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_WRITE, &run) == ERROR_SUCCESS) {
        ::RegDeleteValueA(run, "Tarnwell");
        ::RegCloseKey(run);
    }
}

class Startup : public ::testing::Test {
protected:
    void SetUp() override { DeleteRunValue(); }
    void TearDown() override { DeleteRunValue(); }
    void MakeProfileFolder(const std::string& relative) {
        ASSERT_TRUE(planted.Folder(ProfileFolder() + relative)) << relative;
    }
    // Closing the window only hides it; the program stays in the tray.
    static void HideWindow(TarnwellProcess& program) {
        ::PostMessageA(program.MainWindow(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return !program.WindowVisible(); }));
    }
    TempFolder folder;
    PlantedFiles planted;
};

TEST_F(Startup, FirstStartWritesTheRunValueAndChecksOnlyBrowsersThatExist) {
    // FireFox is installed here; Netscape, Opera and AOL are not.
    MakeProfileFolder("\\Application Data\\Mozilla\\FireFox\\Profiles");
    TarnwellProcess program(folder.Path());
    ASSERT_TRUE(program.WaitForMainWindow()) << program.StartState();

    EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, kRunKey, "Tarnwell"),
              "\"" + folder.Path() + "Tarnwell.exe\" /autostart");
    EXPECT_TRUE(program.Checked(ctl::IEAllCB));
    EXPECT_TRUE(program.Checked(ctl::VintrelCB));
    EXPECT_TRUE(program.Checked(ctl::FFAllCB));
    EXPECT_FALSE(program.Enabled(ctl::FFCookFilesCB));
    EXPECT_FALSE(program.Checked(ctl::NSAllCB));
    EXPECT_FALSE(program.Checked(ctl::OPAllCB));
    EXPECT_FALSE(program.Checked(ctl::AOLAllCB));
    EXPECT_TRUE(program.Checked(ctl::AutoCloseSweepCB));
    EXPECT_TRUE(program.Checked(ctl::WinStartCB));
    EXPECT_FALSE(program.Checked(ctl::WAllCB));
    EXPECT_EQ(program.Text(ctl::FFPathEdit),
              ProfileFolder() + "\\Application Data\\Mozilla\\FireFox\\Profiles\\");
    program.EndSession();
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_TRUE(FileExists(folder / "settings.ini"));
}

TEST_F(Startup, LaterStartLeavesTheRunValueAloneAndDisablingLoadRemovesIt) {
    ASSERT_TRUE(WriteTextFile(folder / "settings.ini", "[Settings]\r\n"));
    {
        TarnwellProcess program(folder.Path());
        ASSERT_TRUE(program.WaitForMainWindow()) << program.StartState();
        EXPECT_FALSE(ReadRegistryString(HKEY_LOCAL_MACHINE, kRunKey, "Tarnwell"));
        EXPECT_FALSE(program.Checked(ctl::IEAllCB));
        program.EndSession();
        ASSERT_TRUE(program.WaitForExit());
    }
    // A stored change of the box runs its handler: checked deletes the value.
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, kRunKey, "Tarnwell", "x"));
    ASSERT_TRUE(WriteTextFile(folder / "settings.ini", "[Settings]\r\nWStartLoadCB_Checked=True\r\n"));
    TarnwellProcess program(folder.Path());
    ASSERT_TRUE(program.WaitForMainWindow()) << program.StartState();
    EXPECT_FALSE(ReadRegistryString(HKEY_LOCAL_MACHINE, kRunKey, "Tarnwell"));
    program.EndSession();
    ASSERT_TRUE(program.WaitForExit());
}

TEST_F(Startup, SecondCopyWakesTheFirstAndEndsWithoutSaving) {
    ASSERT_TRUE(WriteTextFile(folder / "settings.ini", "[Settings]\r\nTransBar_Position=10\r\n"));
    TarnwellProcess first(folder.Path());
    ASSERT_TRUE(first.WaitForMainWindow()) << first.StartState();
    ASSERT_TRUE(first.WindowVisible());
    HideWindow(first);
    EXPECT_TRUE(first.Running());

    const std::string before = ReadTextFile(folder / "settings.ini");
    TempFolder otherFolder;
    TarnwellProcess second(otherFolder.Path());
    ASSERT_TRUE(second.WaitForExit());
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_FALSE(FileExists(otherFolder / "settings.ini"));
    EXPECT_EQ(ReadTextFile(folder / "settings.ini"), before);

    EXPECT_TRUE(WaitUntil([&] { return first.WindowVisible(); }));
    char caption[64] = {};
    ::GetWindowTextA(first.MainWindow(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Tarnwell v2.20");
    // Shown again on the Control Panel tab.
    EXPECT_EQ(::SendMessageA(first.Control(ctl::PageControl), TCM_GETCURSEL, 0, 0), 11);

    first.EndSession();
    ASSERT_TRUE(first.WaitForExit());
    EXPECT_NE(ReadTextFile(folder / "settings.ini").find("FormVersion=0"), std::string::npos);
}

TEST_F(Startup, AutostartInOtherLetterCaseStartsVisible) {
    ASSERT_TRUE(WriteTextFile(folder / "settings.ini", "[Settings]\r\n"));
    const DWORD start = ::GetTickCount();
    TarnwellProcess program(folder.Path(), "/AUTOSTART");
    ASSERT_TRUE(program.WaitForMainWindow()) << program.StartState();
    EXPECT_LT(::GetTickCount() - start, 9000u) << "no log-on pause for another spelling";
    EXPECT_TRUE(program.WindowVisible());
    program.EndSession();
    ASSERT_TRUE(program.WaitForExit());
}

TEST_F(Startup, AutostartWaitsThenStaysHidden) {
    ASSERT_TRUE(WriteTextFile(folder / "settings.ini", "[Settings]\r\n"));
    const DWORD start = ::GetTickCount();
    TarnwellProcess program(folder.Path(), "/autostart");
    ASSERT_TRUE(program.WaitForMainWindow(30000, false)) << program.StartState();
    EXPECT_GE(::GetTickCount() - start, 9500u);
    // Start-up is over and the main loop has handled what was posted to it:
    // nothing is left that could still show the window.
    ASSERT_TRUE(program.WaitUntilPostedMessagesHandled());
    EXPECT_FALSE(program.WindowVisible());
    EXPECT_TRUE(program.Running());
    program.EndSession();
    ASSERT_TRUE(program.WaitForExit());
}

TEST_F(Startup, LogOffSavesTheSettingsOfAHiddenWindow) {
    TarnwellProcess program(folder.Path());
    ASSERT_TRUE(program.WaitForMainWindow()) << program.StartState();
    HideWindow(program);
    DWORD_PTR answer = 0;
    ASSERT_TRUE(::SendMessageTimeoutA(program.MainWindow(), WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, &answer));
    EXPECT_EQ(answer, 1u);
    EXPECT_EQ(IniSectionLines(folder / "settings.ini", "Settings").size(), 81u);  // FormVersion and 80 values
    // The query allowed closing: a close request now ends the program.
    ::PostMessageA(program.MainWindow(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitForExit());
}

TEST_F(Startup, UninstallEndsAtOnceWithoutAWindow) {
    TarnwellProcess program(folder.Path(), "/uninstall");
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_EQ(program.ExitCode(), 0u);
    EXPECT_FALSE(FileExists(folder / "settings.ini"));
    EXPECT_FALSE(ReadRegistryString(HKEY_LOCAL_MACHINE, kRunKey, "Tarnwell"));
}

}  // namespace
}  // namespace tarnwell::testing
