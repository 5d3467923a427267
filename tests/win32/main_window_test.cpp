// The main window as a user meets it: its frame, every declared control
// with its caption, and the behaviour of the controls this window owns.
#include <gtest/gtest.h>

#include "app/control_table.h"
#include "tests/win32/support/tarnwell_process.h"

namespace tarnwell::testing {
namespace {

class MainWindow : public ::testing::Test {
protected:
    void Start(const std::string& settings = "[Settings]\r\n") {
        ASSERT_TRUE(WriteTextFile(folder / "settings.ini", settings));
        program = std::make_unique<TarnwellProcess>(folder.Path());
        ASSERT_TRUE(program->WaitForMainWindow());
    }
    void TearDown() override {
        if (program && program->Running()) {
            program->EndSession();
            program->WaitForExit();
        }
    }
    // A click as the user makes it: the box toggles and tells its page.
    void Click(int id) {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(program->Control(id), BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &result);
    }

    TempFolder folder;
    std::unique_ptr<TarnwellProcess> program;
};

TEST_F(MainWindow, FrameCaptionAndSize) {
    Start();
    HWND main = program->MainWindow();
    char caption[64] = {};
    ::GetWindowTextA(main, caption, sizeof caption);
    EXPECT_STREQ(caption, "Tarnwell v2.20");
    RECT client;
    ::GetClientRect(main, &client);
    EXPECT_EQ(client.right, 433);
    EXPECT_EQ(client.bottom, 520);
    const LONG style = ::GetWindowLongA(main, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(::GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // Owned by the hidden application window: no taskbar button.
    HWND owner = ::GetWindow(main, GW_OWNER);
    ASSERT_NE(owner, nullptr);
    EXPECT_FALSE(::IsWindowVisible(owner));
    EXPECT_TRUE(::GetWindowLongA(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

    HWND tabs = program->Control(ctl::PageControl);
    EXPECT_EQ(::SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), kTabPageCount);
    EXPECT_TRUE(::GetWindowLongA(tabs, GWL_STYLE) & TCS_BOTTOM);
    EXPECT_GT(::SendMessageA(tabs, TCM_GETROWCOUNT, 0, 0), 1);
    RECT banner;
    ::GetClientRect(program->Control(ctl::Banner), &banner);
    EXPECT_EQ(banner.right, 433);
    EXPECT_EQ(banner.bottom, 107);
}

TEST_F(MainWindow, EveryDeclaredControlExistsWithItsCaption) {
    Start();
    for (const ControlDecl& decl : AllControls()) {
        if (decl.kind == ControlKind::Page || (decl.page != PageId::Main && static_cast<int>(decl.page) >= kTabPageCount))
            continue;
        HWND control = program->Control(decl.id);
        ASSERT_NE(control, nullptr) << decl.name;
        if (decl.kind == ControlKind::CheckBox || decl.kind == ControlKind::Button ||
            decl.kind == ControlKind::GroupBox || decl.kind == ControlKind::Label ||
            decl.kind == ControlKind::RiskLabel) {
            EXPECT_EQ(program->Text(decl.id), decl.caption) << decl.name;
        }
        if (decl.kind == ControlKind::CheckBox) {
            EXPECT_EQ(program->Checked(decl.id), decl.initial == "True") << decl.name;
        }
        EXPECT_EQ(::GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE ? 0u : F_HIDDEN, decl.flags & F_HIDDEN)
            << decl.name;
    }
    EXPECT_EQ(program->Text(ctl::IETempFiles), "Unknown");
    EXPECT_EQ(program->Text(ctl::WRunFieldCB), "Windows Run && Stream File Lists");
}

TEST_F(MainWindow, UntickingSweepThemAllLeavesEveryItemUncheckedAndEnabled) {
    Start("[Settings]\r\nWAllCB_Checked=True\r\n");
    const int items[] = {ctl::CHKFilesCB,  ctl::RecentFilesCB, ctl::RecycleFilesCB, ctl::TempFilesCB,
                         ctl::WRunFieldCB, ctl::WFindFieldsCB, ctl::WComDlgCB,      ctl::WUserAssistCB};
    for (int id : items) ASSERT_FALSE(program->Enabled(id));
    Click(ctl::WAllCB);
    EXPECT_FALSE(program->Checked(ctl::WAllCB));
    for (int id : items) {
        EXPECT_FALSE(program->Checked(id));
        EXPECT_TRUE(program->Enabled(id));
    }
    Click(ctl::WAllCB);
    for (int id : items) {
        EXPECT_TRUE(program->Checked(id));
        EXPECT_FALSE(program->Enabled(id));
    }
}

TEST_F(MainWindow, ClosePanelButtonHidesTheWindow) {
    Start();
    ASSERT_TRUE(program->WindowVisible());
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(program->Control(ctl::CloseBTN), BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &result);
    EXPECT_FALSE(program->WindowVisible());
    EXPECT_TRUE(program->Running());
}

TEST_F(MainWindow, TransparencyBackToZeroMakesTheWindowOpaque) {
    Start("[Settings]\r\nTransBar_Position=90\r\n");
    BYTE alpha = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(program->MainWindow(), nullptr, &alpha, nullptr));
    EXPECT_EQ(alpha, 26);
    // Dragging the thumb to the left end: the slider reports the scroll.
    HWND bar = program->Control(ctl::TransBar);
    ::SendMessageA(bar, TBM_SETPOS, TRUE, 0);
    ::SendMessageA(::GetParent(bar), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(bar));
    EXPECT_FALSE(::GetWindowLongA(program->MainWindow(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST_F(MainWindow, TransparencySliderIsDisabledOutsideTheNtFamily) {
    const std::string key = "Software\\Wine\\AppDefaults\\Tarnwell.exe";
    HKEY appDefaults = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &appDefaults,
                                nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExA(appDefaults, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("win98"), 6);
    Start();
    EXPECT_FALSE(program->Enabled(ctl::TransBar));
    ::RegDeleteValueA(appDefaults, "Version");
    ::RegCloseKey(appDefaults);
}

TEST_F(MainWindow, TransparencySliderIsEnabledOnNt) {
    Start();
    EXPECT_TRUE(program->Enabled(ctl::TransBar));
}

}  // namespace
}  // namespace tarnwell::testing

namespace tarnwell::testing {
namespace {

TEST_F(MainWindow, PassesFieldTakesOnlyCharactersThatKeepANumber) {
    Start("[Settings]\r\nEncryptEdit_Value=1\r\n");
    HWND passes = program->Control(ctl::EncryptEdit);
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(passes, EM_SETSEL, 1, 1, SMTO_NORMAL, 5000, &result);  // caret after the "1"
    for (char key : {'x', '-', '2'})
        ::SendMessageTimeoutA(passes, WM_CHAR, static_cast<WPARAM>(key), 0, SMTO_NORMAL, 5000, &result);
    EXPECT_EQ(program->Text(ctl::EncryptEdit), "12");
}

}  // namespace
}  // namespace tarnwell::testing
