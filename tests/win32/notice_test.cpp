// The notice a sweep that starts from the tray, a timer or the Control
// Panel shows: on the older shells a shaped window of the program's own in
// the bottom-right corner, gone after ten seconds or a click; on the newer
// ones a balloon tip on the tray icon; in stealth mode, or while the icon
// is hidden, nothing. The real program, watched from outside.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/control_table.h"
#include "tests/win32/support/debug_output.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/tab_fixture.h"

namespace tarnwell::testing {
namespace {

constexpr const char* kSweepingTitle = "Tarnwell: Sweeping History...";
constexpr const char* kSweepingText =
    "Performing automatic background detection, random overwrite, and removal of your selected history files...";

// The desktop across every monitor (the metrics of Windows 98 and 2000).
RECT VirtualDesktop() {
    const int left = ::GetSystemMetrics(76), top = ::GetSystemMetrics(77);
    return RECT{left, top, left + ::GetSystemMetrics(78), top + ::GetSystemMetrics(79)};
}

class Notice : public TabTest {
protected:
    // The program's notice window, shown or not.
    HWND NoticeWindow() const {
        for (HWND window = ::FindWindowA("TPopForm", nullptr); window;
             window = ::FindWindowExA(nullptr, window, "TPopForm", nullptr)) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == program->ProcessId()) return window;
        }
        return nullptr;
    }
    HWND VisibleNotice() const {
        HWND window = NoticeWindow();
        return window && ::IsWindowVisible(window) ? window : nullptr;
    }
    // A sweep of every category that shows the sweeping notice first.
    void SweepAll() const { Click(ctl::SweepAllBTN); }
    // The user's click: the pointer moved there, the button pressed and let go.
    static void ClickAt(POINT at) {
        ::SetCursorPos(at.x, at.y);
        ::mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        ::mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    }
    static POINT ScreenPoint(HWND window, int x, int y) {
        POINT at{x, y};
        ::ClientToScreen(window, &at);
        return at;
    }
};

TEST_F(Notice, OnWindows98TheShapedWindowShowsInTheCornerForTenSeconds) {
    RunAs("win98");
    Start("[Settings]\r\n");
    const DWORD first = ::GetTickCount();
    SweepAll();
    HWND notice = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (notice = VisibleNotice()) != nullptr; }, 10000));

    // 324 by 94, its bottom-right corner 15 pixels in from the desktop's.
    RECT frame;
    ASSERT_TRUE(::GetWindowRect(notice, &frame));
    const RECT desktop = VirtualDesktop();
    EXPECT_EQ(frame.right - frame.left, 324);
    EXPECT_EQ(frame.bottom - frame.top, 94);
    EXPECT_EQ(frame.right, desktop.right - 15);
    EXPECT_EQ(frame.bottom, desktop.bottom - 15);
    EXPECT_TRUE(::GetWindowLongA(notice, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(::GetWindowLongA(notice, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));
    EXPECT_NE(::GetForegroundWindow(), notice) << "the notice took the focus";

    // Shaped like its picture: the rounded corners are cut away, the
    // border and the middle belong to the window.
    HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetWindowRgn(notice, shape), COMPLEXREGION);
    EXPECT_FALSE(::PtInRegion(shape, 0, 0));
    EXPECT_FALSE(::PtInRegion(shape, 323, 93));
    EXPECT_TRUE(::PtInRegion(shape, 0, 47));
    EXPECT_TRUE(::PtInRegion(shape, 162, 47));
    ::DeleteObject(shape);

    EXPECT_EQ(WindowText(FindChildById(notice, ctl::CaptionLBL)), kSweepingTitle);
    EXPECT_EQ(WindowText(FindChildById(notice, ctl::BodyLBL)), kSweepingText);

    // A second notice while the first shows keeps the window and starts
    // its ten seconds again (when the first sweep was quick enough for
    // the second to come within the first ten seconds).
    ASSERT_TRUE(WaitUntilIdle(ctl::WSweepBTN));
    const DWORD second = ::GetTickCount();
    SweepAll();
    EXPECT_EQ(VisibleNotice(), notice);
    ASSERT_TRUE(WaitUntil([&] { return VisibleNotice() == nullptr; }, 30000));
    EXPECT_GE(::GetTickCount() - first, 10000u);
    EXPECT_GE(::GetTickCount() - second, 9900u) << "the second notice did not start the time again";
    EXPECT_TRUE(::IsWindow(notice)) << "hidden, not destroyed: the next notice uses it again";
}

TEST_F(Notice, AClickOnItsTextOrPictureHidesIt) {
    RunAs("win98");
    Start("[Settings]\r\n");
    for (const bool onText : {true, false}) {
        SweepAll();
        HWND notice = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (notice = VisibleNotice()) != nullptr; }, 10000));
        // The body's middle, or the strip of picture below it.
        HWND body = FindChildById(notice, ctl::BodyLBL);
        RECT bodyRect;
        ::GetClientRect(body, &bodyRect);
        ClickAt(onText ? ScreenPoint(body, bodyRect.right / 2, bodyRect.bottom / 2) : ScreenPoint(notice, 162, 86));
        EXPECT_TRUE(WaitUntil([&] { return VisibleNotice() == nullptr; }))
            << (onText ? "a click on the text" : "a click on the picture") << " left it showing";
        ASSERT_TRUE(WaitUntilIdle(ctl::WSweepBTN));
    }
}

TEST_F(Notice, InStealthModeOrWithTheIconHiddenNoNoticeShowsButTheSweepRuns) {
    RunAs("win98");
    const std::string temp = folder / "temp";
    ASSERT_TRUE(planted.File(temp + "\\a.tmp"));
    Start("[Settings]\r\nStealthCB_Checked=True\r\nTempFilesCB_Checked=True\r\n", {"TEMP=" + temp, "TMP=" + temp});
    SweepAll();
    ASSERT_TRUE(WaitUntilIdle(ctl::WSweepBTN));
    EXPECT_FALSE(FileExists(temp + "\\a.tmp"));
    EXPECT_EQ(VisibleNotice(), nullptr);

    // Stealth mode off, the tray icon hidden by the stealth key: still none.
    Click(ctl::StealthCB);
    ASSERT_FALSE(program->Checked(ctl::StealthCB));
    ::PostMessageA(program->MainWindow(), WM_HOTKEY, ::GlobalFindAtomA("TW #6522"), 0);
    ASSERT_TRUE(WaitUntil([&] { return !ShellHoldsTrayIcon(program->MainWindow()); }, 10000));
    ASSERT_TRUE(planted.File(temp + "\\b.tmp"));
    SweepAll();
    ASSERT_TRUE(WaitUntilIdle(ctl::WSweepBTN));
    EXPECT_FALSE(FileExists(temp + "\\b.tmp"));
    EXPECT_EQ(VisibleNotice(), nullptr);
}

// Wine shows balloon tips only inside a desktop window of its own; what a
// test outside it can see is that the program asked the shell for one
// (and was not refused) and made no notice window.
TEST_F(Notice, OnWindowsXPTheNoticeIsABalloonTipOnTheTrayIcon) {
    RunAs("winxp");
    Start("[Settings]\r\n");
    DebugOutputWatch watch(program->ProcessId());
    ASSERT_TRUE(watch.Attached());
    SweepAll();
    EXPECT_TRUE(watch.WaitFor(std::string("Tarnwell: balloon tip \"") + kSweepingTitle + "\" shown"));
    EXPECT_EQ(NoticeWindow(), nullptr);

    // In stealth mode the sweep runs and no balloon is asked for.
    Click(ctl::StealthCB);
    ASSERT_TRUE(WaitUntilIdle(ctl::WSweepBTN));
    SweepAll();
    EXPECT_TRUE(watch.WaitFor("Tarnwell: sweep Windows", 2)) << ::testing::PrintToString(watch.Lines());
    EXPECT_EQ(watch.Count("Tarnwell: balloon tip"), 1);
}

// Inside a Wine desktop with its taskbar (tests/win32/run_test.sh --desktop)
// the shell draws the balloon: a tooltip window of the balloon style
// holding the notice's text shows over the tray icon.
BOOL CALLBACK FindBalloon(HWND window, LPARAM found) {
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "tooltips_class32" && ::IsWindowVisible(window) &&
        (::GetWindowLongA(window, GWL_STYLE) & 0x40 /* TTS_BALLOON */)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

TEST_F(Notice, InsideAWineDesktopTheBalloonShowsTheNotice) {
    if (!std::getenv("TARNWELL_IN_WINE_DESKTOP")) GTEST_SKIP() << "runs inside a Wine desktop with its taskbar only";
    RunAs("winxp");
    Start("[Settings]\r\n");
    ASSERT_TRUE(WaitUntil([&] { return ShellHoldsTrayIcon(program->MainWindow()); }));
    SweepAll();
    HWND balloon = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return ::EnumWindows(FindBalloon, reinterpret_cast<LPARAM>(&balloon)), balloon; },
                          10000));
    // The tooltip answers its text to WM_GETTEXT, which crosses processes.
    char text[512] = {};
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutA(balloon, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                          &copied);
    EXPECT_EQ(std::string(text), kSweepingText);
}

}  // namespace
}  // namespace tarnwell::testing
