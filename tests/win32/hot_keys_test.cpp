// The boss and stealth keys of the running program, seen from another
// process: which combinations it holds, what a press does to browser
// windows and to the tray icon.
#include <gtest/gtest.h>

#include "app/control_table.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/tab_fixture.h"
#include "tests/win32/support/top_level_window.h"

namespace tarnwell::testing {
namespace {

// Whether this process could take the combination (and gives it back).
bool CombinationFree(UINT modifiers, UINT key) {
    if (!::RegisterHotKey(nullptr, 0x7001, modifiers, key)) return false;
    ::UnregisterHotKey(nullptr, 0x7001);
    return true;
}

class HotKeys : public TabTest {
protected:
    void SetUp() override { Start("[Settings]\r\n"); }
    // A press of the key whose atom is `atomName`, as Windows delivers it.
    void Press(const char* atomName) const {
        const ATOM atom = ::GlobalFindAtomA(atomName);
        ASSERT_NE(atom, 0) << atomName;
        ::PostMessageA(program->MainWindow(), WM_HOTKEY, atom, 0);
    }
    void Exit() {
        program->EndSession();
        ASSERT_TRUE(program->WaitForExit());
    }
};

TEST_F(HotKeys, BothCombinationsAreHeldUntilExit) {
    EXPECT_FALSE(CombinationFree(MOD_CONTROL | MOD_ALT, VK_SPACE));
    EXPECT_FALSE(CombinationFree(MOD_CONTROL | MOD_ALT, 'Z'));
    Exit();
    EXPECT_TRUE(CombinationFree(MOD_CONTROL | MOD_ALT, VK_SPACE));
    EXPECT_TRUE(CombinationFree(MOD_CONTROL | MOD_ALT, 'Z'));
    // Both atoms go with the program.
    EXPECT_EQ(::GlobalFindAtomA("TW #6523"), 0);
    EXPECT_EQ(::GlobalFindAtomA("TW #6522"), 0);
}

TEST_F(HotKeys, BossKeyTogglesEachBrowserWindowAndLeavesOthersAlone) {
    TopLevelWindow ie("IEFrame", "Home"), opera("OpWindow", "Opera"), other("TwNotABrowser", "Other");
    TopLevelWindow hiddenFirefox("MozillaWindowClass", "Mozilla Firefox", false);
    Press("TW #6523");
    // The program shows and hides windows of this thread: its messages run here.
    ASSERT_TRUE(PumpUntil([&] { return !ie.Visible() && !opera.Visible() && hiddenFirefox.Visible(); }));
    EXPECT_TRUE(other.Visible());
    const HWND foreground = ::GetForegroundWindow();
    Press("TW #6523");
    ASSERT_TRUE(PumpUntil([&] { return ie.Visible() && opera.Visible() && !hiddenFirefox.Visible(); }));
    EXPECT_TRUE(other.Visible());
    // Shown again without being activated.
    EXPECT_EQ(::GetForegroundWindow(), foreground);
}

TEST_F(HotKeys, BossKeyUntickedAfterStartDoesNothing) {
    TopLevelWindow ie("IEFrame", "Home");
    program->Click(ctl::BossKeyCB);
    ASSERT_FALSE(program->Checked(ctl::BossKeyCB));
    Press("TW #6523");
    ASSERT_TRUE(program->WaitUntilPostedMessagesHandled());
    ::MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
    EXPECT_TRUE(ie.Visible());
    // The combination stays reserved until exit.
    EXPECT_FALSE(CombinationFree(MOD_CONTROL | MOD_ALT, VK_SPACE));
}

TEST_F(HotKeys, StealthKeyHidesAndShowsTheTrayIconAndASecondStartBringsItBack) {
    const HWND main = program->MainWindow();
    ASSERT_TRUE(WaitUntil([&] { return ShellHoldsTrayIcon(main); }));
    Press("TW #6522");
    ASSERT_TRUE(WaitUntil([&] { return !ShellHoldsTrayIcon(main); }));
    Press("TW #6522");
    ASSERT_TRUE(WaitUntil([&] { return ShellHoldsTrayIcon(main); }));
    Press("TW #6522");
    ASSERT_TRUE(WaitUntil([&] { return !ShellHoldsTrayIcon(main); }));
    TempFolder otherFolder;
    TarnwellProcess second(otherFolder.Path());
    ASSERT_TRUE(second.WaitForExit());
    EXPECT_TRUE(WaitUntil([&] { return ShellHoldsTrayIcon(main); }));
}

TEST_F(HotKeys, SetTakesTheNewStealthKeyAndFreesTheOldOneAtOnce) {
    ::SendMessageA(program->Control(ctl::StealthHK), HKM_SETHOTKEY, MAKEWORD('H', HOTKEYF_CONTROL | HOTKEYF_SHIFT), 0);
    program->Click(ctl::StealthSetBTN);
    EXPECT_TRUE(CombinationFree(MOD_CONTROL | MOD_ALT, 'Z'));
    EXPECT_FALSE(CombinationFree(MOD_CONTROL | MOD_SHIFT, 'H'));
    const HWND main = program->MainWindow();
    ASSERT_TRUE(WaitUntil([&] { return ShellHoldsTrayIcon(main); }));
    Press("TW #6522");
    EXPECT_TRUE(WaitUntil([&] { return !ShellHoldsTrayIcon(main); }));
}

// A combination another program holds is skipped without a word, and the
// rest of start-up goes on; a stored stealth key no key press can give
// registers nothing.
TEST(HotKeysTaken, HeldCombinationAndBadStoredKeyDoNotStopTheStart) {
    ASSERT_TRUE(::RegisterHotKey(nullptr, 0x7002, MOD_CONTROL | MOD_ALT, VK_SPACE));
    TempFolder folder;
    ASSERT_TRUE(WriteTextFile(folder / "settings.ini", "[Settings]\r\nStealthHK_HotKey=16384\r\n"));
    {
        TarnwellProcess program(folder.Path());
        ASSERT_TRUE(program.WaitForMainWindow()) << program.StartState();
        EXPECT_TRUE(WaitUntil([&] { return ShellHoldsTrayIcon(program.MainWindow()); }));
        EXPECT_TRUE(CombinationFree(MOD_CONTROL | MOD_ALT, 'Z'));
        program.EndSession();
        ASSERT_TRUE(program.WaitForExit());
    }
    ::UnregisterHotKey(nullptr, 0x7002);
}

}  // namespace
}  // namespace tarnwell::testing
