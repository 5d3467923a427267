// The tray icon as the shell and the user see it, from another process:
// whether the shell holds it, the menu a click on it opens, and how a
// second copy of the program reaches the first while it runs a menu.
#include <gtest/gtest.h>

#include <shellapi.h>

#include <functional>

#include "app/registry_win.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/tarnwell_process.h"

namespace tarnwell::testing {
namespace {

constexpr UINT kIconCallback = WM_APP + 1;
constexpr UINT kIconId = 1;
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Long enough for a loaded machine; a missing window fails after it.
constexpr DWORD kPatience = 15000;

bool WaitFor(const std::function<bool()>& condition) { return PumpUntil(condition, kPatience); }

NOTIFYICONDATAA IconOf(HWND owner) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = owner;
    data.uID = kIconId;
    return data;
}

struct WindowSearch {
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    char name[64] = {};
    ::GetClassNameA(hwnd, name, sizeof name);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner == search->processId && ::IsWindowVisible(hwnd) && std::string(name) == search->className) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level window of the program with the given class.
HWND VisibleWindowOf(const TarnwellProcess& program, const char* className) {
    WindowSearch search{0, className, nullptr};
    ::GetWindowThreadProcessId(program.MainWindow(), &search.processId);
    ::EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND OpenMenu(const TarnwellProcess& program) { return VisibleWindowOf(program, "#32768"); }

// What the shell sends when the user clicks the icon with the right button.
void ClickIcon(const TarnwellProcess& program) {
    ::PostMessageA(program.MainWindow(), kIconCallback, kIconId, WM_RBUTTONUP);
}

// Keys go to the thread's queue, where the menu's own loop reads them.
void PressKey(HWND window, WPARAM key) {
    ::PostMessageA(window, WM_KEYDOWN, key, 1);
    ::PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

// Opens the tray menu and chooses its `position`-th command (separators
// do not count), as the arrow keys and Enter do.
void ChooseFromTrayMenu(const TarnwellProcess& program, int position) {
    ClickIcon(program);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (menu = OpenMenu(program)) != nullptr; })) << "no menu opened";
    for (int i = 0; i <= position; ++i) PressKey(menu, VK_DOWN);
    PressKey(menu, VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return OpenMenu(program) == nullptr; })) << "the menu stayed open";
}

void HideMainWindow(TarnwellProcess& program) {
    ::PostMessageA(program.MainWindow(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !program.WindowVisible(); }));
}

void EndProgram(TarnwellProcess& program) {
    program.EndSession();
    ASSERT_TRUE(program.WaitForExit());
}

class TrayIcon : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(WriteTextFile(folder / "settings.ini", "[Settings]\r\n")); }
    TempFolder folder;
};

TEST_F(TrayIcon, TheShellHoldsTheIconFromStartUntilExit) {
    TarnwellProcess program(folder.Path());
    ASSERT_TRUE(program.WaitForMainWindow()) << program.StartState();
    const HWND owner = program.MainWindow();
    EXPECT_TRUE(WaitFor([&] { return ShellHoldsTrayIcon(owner); }));
    EndProgram(program);
    EXPECT_FALSE(ShellHoldsTrayIcon(owner));
}

TEST_F(TrayIcon, ARestartedShellGetsTheIconBack) {
    TarnwellProcess program(folder.Path());
    ASSERT_TRUE(program.WaitForMainWindow()) << program.StartState();
    const HWND owner = program.MainWindow();
    ASSERT_TRUE(WaitFor([&] { return ShellHoldsTrayIcon(owner); }));
    // A new shell starts with an empty notification area and tells every window.
    NOTIFYICONDATAA data = IconOf(owner);
    ASSERT_TRUE(::Shell_NotifyIconA(NIM_DELETE, &data));
    ASSERT_FALSE(ShellHoldsTrayIcon(owner));
    ::PostMessageA(owner, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitFor([&] { return ShellHoldsTrayIcon(owner); }));
    EndProgram(program);
}

// The menu opens from the point of the click (its bottom-right corner
// there), even when the pointer has moved on before the program reads the
// click.
TEST_F(TrayIcon, TheMenuOpensWhereTheIconWasClicked) {
    TarnwellProcess program(folder.Path());
    ASSERT_TRUE(program.WaitForMainWindow()) << program.StartState();
    // Wine moves the pointer a moment after the call, and a late pointer
    // event of the display may still move it back: the point that counts
    // is where the pointer was when the click was posted.
    ASSERT_TRUE(::SetCursorPos(400, 450));
    ASSERT_TRUE(WaitFor([] {
        POINT at;
        return ::GetCursorPos(&at) && at.x == 400 && at.y == 450;
    }));
    ClickIcon(program);
    POINT clicked;
    ASSERT_TRUE(::GetCursorPos(&clicked));
    ::SetCursorPos(600, 300);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (menu = OpenMenu(program)) != nullptr; }));
    RECT frame;
    ASSERT_TRUE(::GetWindowRect(menu, &frame));
    EXPECT_EQ(frame.right, clicked.x);
    EXPECT_EQ(frame.bottom, clicked.y);
    EXPECT_FALSE(frame.right == 600 && frame.bottom == 300) << "the menu followed the pointer after the click";
    PressKey(menu, VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return OpenMenu(program) == nullptr; }));
    EndProgram(program);
}

TEST_F(TrayIcon, AClickOpensTheMenuWithItsCommandsInOrder) {
    TarnwellProcess program(folder.Path());
    ASSERT_TRUE(program.WaitForMainWindow()) << program.StartState();
    ASSERT_TRUE(WaitFor([&] { return ShellHoldsTrayIcon(program.MainWindow()); }));

    // Escape closes the menu and nothing else happens.
    ClickIcon(program);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (menu = OpenMenu(program)) != nullptr; }));
    PressKey(menu, VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return OpenMenu(program) == nullptr; }));

    // In order: "Exit Tarnwell Menu", "Shutdown Tarnwell", "Check for Updates",
    // "Popup Manager", "Cookie Keeper", "Sweep All History", "Quick Sweep
    // Menu", "Tarnwell Control Panel".
    HideMainWindow(program);
    ChooseFromTrayMenu(program, 7);
    EXPECT_TRUE(WaitFor([&] { return program.WindowVisible(); })) << "Control Panel did not show the window";

    ChooseFromTrayMenu(program, 1);
    HWND question = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (question = VisibleWindowOf(program, "#32770")) != nullptr; }))
        << "Shutdown did not ask";
    char text[256] = {};
    ::GetDlgItemTextA(question, 0xFFFF, text, sizeof text);
    EXPECT_STREQ(text, "Would you like to close Tarnwell (doing so will disable Auto Sweep and the Popup Killer)?");
    ::PostMessageA(question, WM_COMMAND, IDNO, 0);
    ASSERT_TRUE(WaitFor([&] { return VisibleWindowOf(program, "#32770") == nullptr; }));
    EXPECT_TRUE(program.Running());

    ChooseFromTrayMenu(program, 4);
    HWND keeper = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (keeper = VisibleWindowOf(program, "TCookieKeep")) != nullptr; }))
        << "Cookie Keeper did not open";
    ::PostMessageA(keeper, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return VisibleWindowOf(program, "TCookieKeep") == nullptr; }));

    // "Exit Tarnwell Menu" only closes the menu.
    ChooseFromTrayMenu(program, 0);
    EXPECT_TRUE(program.Running());
    EndProgram(program);
}

TEST_F(TrayIcon, ASecondCopyWakesTheFirstWhileItsMenuIsOpenAndChangesNothingOutside) {
    TarnwellProcess first(folder.Path());
    ASSERT_TRUE(first.WaitForMainWindow()) << first.StartState();
    ASSERT_TRUE(WaitFor([&] { return ShellHoldsTrayIcon(first.MainWindow()); }));
    HideMainWindow(first);
    ClickIcon(first);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (menu = OpenMenu(first)) != nullptr; }));

    // Started from a folder without settings, a copy would take over the Run value.
    const std::string runValue = "\"" + folder.Path() + "Tarnwell.exe\" /autostart";
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, kRunKey, "Tarnwell", runValue));

    TempFolder otherFolder;
    TarnwellProcess second(otherFolder.Path());
    ASSERT_TRUE(second.WaitForExit());
    EXPECT_EQ(second.ExitCode(), 0u);
    // The menu's loop, not the main one, received the wake-up.
    EXPECT_TRUE(WaitFor([&] { return first.WindowVisible(); }));
    EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, kRunKey, "Tarnwell"), runValue);
    EXPECT_FALSE(FileExists(otherFolder / "settings.ini"));
    EXPECT_TRUE(WaitFor([&] { return ShellHoldsTrayIcon(first.MainWindow()); }));

    if (HWND still = OpenMenu(first)) PressKey(still, VK_ESCAPE);
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
        ::RegDeleteValueA(key, "Tarnwell");
        ::RegCloseKey(key);
    }
    EndProgram(first);
}

}  // namespace
}  // namespace tarnwell::testing
