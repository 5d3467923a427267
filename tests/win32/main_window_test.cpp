// The main window as a user meets it: its frame, the captions, defaults
// and hints of its tabs, items and buttons, and the behaviour of the
// controls this window owns.
#include <gtest/gtest.h>

#include "app/control_table.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/tarnwell_process.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace tarnwell::testing {
namespace {

// Memory in another process, for the control messages that pass
// pointers: those are not copied across, so the structure and its text
// buffer must live where the control can read and write them.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, size_t size) {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        process_.reset(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
        if (process_)
            address_ = static_cast<char*>(
                ::VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
    ~RemoteBuffer() {
        if (address_) ::VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    char* At(size_t offset) const { return address_ + offset; }
    bool Write(size_t offset, const void* data, size_t size) const {
        return ::WriteProcessMemory(process_.get(), At(offset), data, size, nullptr) != FALSE;
    }
    std::string ReadText(size_t offset, size_t size) const {
        std::vector<char> text(size + 1, 0);
        ::ReadProcessMemory(process_.get(), At(offset), text.data(), size, nullptr);
        return text.data();
    }
    explicit operator bool() const { return address_ != nullptr; }

private:
    KernelHandle process_;
    char* address_ = nullptr;
};

constexpr size_t kTextSize = 512;

std::vector<std::string> TabCaptions(HWND tabs) {
    std::vector<std::string> captions;
    RemoteBuffer remote(tabs, sizeof(TCITEMA) + kTextSize);
    if (!remote) return captions;
    const int count = static_cast<int>(::SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = remote.At(sizeof item);
        item.cchTextMax = kTextSize;
        remote.Write(sizeof item, "", 1);
        remote.Write(0, &item, sizeof item);
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(remote.At(0)), SMTO_NORMAL, 5000,
                              &result);
        captions.push_back(remote.ReadText(sizeof item, kTextSize));
    }
    return captions;
}

BOOL CALLBACK FindToolTip(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<std::pair<HWND, HWND>*>(lParam);
    char name[64] = {};
    ::GetClassNameA(hwnd, name, sizeof name);
    if (::GetWindow(hwnd, GW_OWNER) == search->first && _stricmp(name, TOOLTIPS_CLASSA) == 0) {
        search->second = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The hint the main window's tooltip holds for `control`, as the user
// sees it when the mouse rests there.
std::string ToolTipText(HWND main, HWND control) {
    std::pair<HWND, HWND> search{main, nullptr};
    ::EnumWindows(FindToolTip, reinterpret_cast<LPARAM>(&search));
    if (!search.second || !control) return "no tooltip";
    RemoteBuffer remote(search.second, sizeof(TOOLINFOA) + kTextSize);
    if (!remote) return "no memory";
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = ::GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = remote.At(sizeof tool);
    remote.Write(sizeof tool, "", 1);
    remote.Write(0, &tool, sizeof tool);
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(search.second, TTM_GETTEXTA, kTextSize, reinterpret_cast<LPARAM>(remote.At(0)),
                          SMTO_NORMAL, 5000, &result);
    return remote.ReadText(sizeof tool, kTextSize);
}

class MainWindow : public ::testing::Test {
protected:
    void Start(const std::string& settings = "[Settings]\r\n") {
        ASSERT_TRUE(WriteTextFile(folder / "settings.ini", settings));
        program = std::make_unique<TarnwellProcess>(folder.Path());
        ASSERT_TRUE(program->WaitForMainWindow()) << program->StartState();
    }
    void TearDown() override {
        if (program && program->Running()) {
            program->EndSession();
            program->WaitForExit();
        }
    }
    std::vector<std::string> Texts(const std::vector<int>& ids) const {
        std::vector<std::string> texts;
        for (int id : ids) texts.push_back(program->Text(id));
        return texts;
    }
    std::string HintOf(int id) const { return ToolTipText(program->MainWindow(), program->Control(id)); }
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

TEST_F(MainWindow, TabsShowTheirCaptionsInOrder) {
    Start();
    EXPECT_EQ(TabCaptions(program->Control(ctl::PageControl)),
              (std::vector<std::string>{"Internet Explorer", "AOL Browser", "Netscape", "Opera", "FireFox",
                                        "Media Players", "Windows", "Plugins", "Shredder", "Security", "Settings",
                                        "Control Panel"}));
}

TEST_F(MainWindow, CategoryItemsShowTheirCaptionsInOrderUncheckedAndUnknown) {
    Start();
    const std::vector<int> ieItems = {ctl::IETempFilesCB, ctl::IEHistFilesCB, ctl::IECookFilesCB,
                                      ctl::IEDropDownCB,  ctl::IEAutoCB,      ctl::IEIndexCB,
                                      ctl::IEGoogleCB,    ctl::IEYahooCB,     ctl::IEToolBarCB};
    EXPECT_EQ(Texts(ieItems),
              (std::vector<std::string>{"Temporary Internet Files", "Browser History Files", "Website Cookies",
                                        "Browser URL Drop Down List", "Browser AutoComplete",
                                        "Index Files (index.dat)", "Google ToolBar History",
                                        "Yahoo! ToolBar History", "MSN ToolBar History"}));
    const std::vector<int> windowsItems = {ctl::CHKFilesCB,  ctl::RecentFilesCB, ctl::RecycleFilesCB,
                                           ctl::TempFilesCB, ctl::WRunFieldCB,   ctl::WFindFieldsCB,
                                           ctl::WComDlgCB,   ctl::WUserAssistCB};
    EXPECT_EQ(Texts(windowsItems),
              (std::vector<std::string>{"ScanDisk File Fragments (*.CHK)", "Recent Documents List",
                                        "Desktop Recycle Bin", "Windows Temp Folder",
                                        "Windows Run && Stream File Lists", "Windows Find Files Lists",
                                        "Windows ComDlg32 Recent Files", "Windows Explorer UserAssist Data"}));
    for (int id : ieItems) EXPECT_FALSE(program->Checked(id)) << id;
    for (int id : windowsItems) EXPECT_FALSE(program->Checked(id)) << id;
    for (int label : {ctl::IETempFiles, ctl::IECookFiles, ctl::IEToolBar, ctl::CHKFiles, ctl::WRunField,
                      ctl::WUserAssist})
        EXPECT_EQ(program->Text(label), "Unknown") << label;
    EXPECT_EQ(program->Text(ctl::IETempFilesRiskLBL), "Risk:");
    EXPECT_EQ(program->Text(ctl::IEGroupBox), " Internet Explorer Browser ");
    EXPECT_EQ(program->Text(ctl::WGroupBox), " Windows Desktop ");
}

TEST_F(MainWindow, ButtonsShowTheirCaptions) {
    Start();
    EXPECT_EQ(program->Text(ctl::IEAnalyzeBTN), "Analyze Risk");
    EXPECT_EQ(program->Text(ctl::IESweepBTN), "Sweep");
    EXPECT_EQ(program->Text(ctl::IECookKeepBTN), "Cookie Keeper");
    EXPECT_EQ(program->Text(ctl::WAnalyzeBTN), "Analyze Risk");
    EXPECT_EQ(program->Text(ctl::WSweepBTN), "Sweep");
    EXPECT_EQ(program->Text(ctl::IEAllCB), "Sweep them all!");
    EXPECT_EQ(program->Text(ctl::WAllCB), "Sweep them all!");
    EXPECT_EQ(program->Text(ctl::SweepAllBTN), "&Protect my privacy, clear history now!");
    EXPECT_EQ(program->Text(ctl::CloseBTN), "&Close Control Panel");
}

// With a settings file that names nothing, every box has its built-in default.
TEST_F(MainWindow, BoxesStartWithTheirDefaults) {
    Start();
    EXPECT_FALSE(program->Checked(ctl::IEAllCB));
    EXPECT_FALSE(program->Checked(ctl::VintrelCB));
    EXPECT_FALSE(program->Checked(ctl::AutoCloseSweepCB));
    EXPECT_TRUE(program->Checked(ctl::RandOverCB));
    EXPECT_TRUE(program->Checked(ctl::ProtectCB));
    EXPECT_TRUE(program->Checked(ctl::PlugCB));
    EXPECT_FALSE(::IsWindowVisible(program->Control(ctl::PlugTagBox)));
}

// The tooltip lends out at most 80 characters of a hint: shorter ones are checked.
TEST_F(MainWindow, ControlsCarryTheirHints) {
    Start();
    EXPECT_EQ(HintOf(ctl::IETempFilesCB), "Removes Internet Explorer Temporary Internet Files.");
    EXPECT_EQ(HintOf(ctl::ProtectCB), "Put back the Internet Explorer start page you had when Tarnwell started.");
    EXPECT_EQ(HintOf(ctl::SweepAllBTN), "Sweep every checked item of every category now.");
    EXPECT_EQ(HintOf(ctl::CloseBTN), "Hide this window; Tarnwell keeps running in the tray.");
    EXPECT_EQ(HintOf(ctl::IETempFilesRiskLBL), "");  // a control without a hint has no tool
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
    WindowsVersionOverride version("win98");
    Start();
    EXPECT_FALSE(program->Enabled(ctl::TransBar));
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

// The window that has the keyboard focus in the thread of `window`.
HWND FocusIn(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

// What the user does with the passes field on the Security tab: the tab
// chosen with the arrow keys, a click into the field, keys typed there,
// and a click on a check box of the same page that takes the focus away.
class PassesField : public MainWindow {
protected:
    void StartOnSecurityTab(const std::string& settings) {
        Start(settings);
        HWND tabs = program->Control(ctl::PageControl);
        const std::vector<std::string> captions = TabCaptions(tabs);
        const auto security = std::find(captions.begin(), captions.end(), "Security");
        ASSERT_NE(security, captions.end());
        DWORD_PTR result = 0;
        for (size_t i = 0; i < captions.size(); ++i)
            ::SendMessageTimeoutA(tabs, WM_KEYDOWN, VK_LEFT, 0, SMTO_NORMAL, 5000, &result);
        for (auto i = captions.begin(); i != security; ++i)
            ::SendMessageTimeoutA(tabs, WM_KEYDOWN, VK_RIGHT, 0, SMTO_NORMAL, 5000, &result);
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(Passes()) != FALSE; }));
    }
    HWND Passes() const { return program->Control(ctl::EncryptEdit); }
    [[nodiscard]] bool ClickIntoField() const {
        ::PostMessageA(Passes(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        ::PostMessageA(Passes(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        return WaitUntil([&] { return FocusIn(Passes()) == Passes(); });
    }
    void SelectAll() const {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(Passes(), EM_SETSEL, 0, -1, SMTO_NORMAL, 5000, &result);
    }
    void Type(const std::string& keys) const {
        DWORD_PTR result = 0;
        for (char key : keys)
            ::SendMessageTimeoutA(Passes(), WM_CHAR, static_cast<WPARAM>(key), 0, SMTO_NORMAL, 5000, &result);
    }
    // A click on another control of the page: the check box takes the focus.
    [[nodiscard]] bool ClickAway() {
        Click(ctl::FlushBufferCB);
        return WaitUntil([&] { return FocusIn(Passes()) == program->Control(ctl::FlushBufferCB); });
    }
    std::string Shown() const { return program->Text(ctl::EncryptEdit); }
};

TEST_F(PassesField, EmptiedByTheProgramsTextMessageGetsItsValueBackWhenTheFocusLeaves) {
    StartOnSecurityTab("[Settings]\r\nEncryptEdit_Value=7\r\n");
    ASSERT_TRUE(ClickIntoField());
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(Passes(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""), SMTO_NORMAL, 5000, &result);
    ASSERT_EQ(Shown(), "");
    ASSERT_TRUE(ClickAway());
    EXPECT_TRUE(program->Checked(ctl::FlushBufferCB));
    EXPECT_EQ(Shown(), "7");
}

TEST_F(PassesField, EmptiedByKeysGetsTheValueFromBeforeTheEditNotOneTypedOnTheWay) {
    StartOnSecurityTab("[Settings]\r\nEncryptEdit_Value=7\r\n");
    ASSERT_TRUE(ClickIntoField());
    SelectAll();
    Type("42");
    ASSERT_EQ(Shown(), "42");
    Type("\b\b");
    ASSERT_EQ(Shown(), "");
    ASSERT_TRUE(ClickAway());
    EXPECT_EQ(Shown(), "7");
}

TEST_F(PassesField, ANumberBelowTheRangeBecomesTheLowestPassCount) {
    StartOnSecurityTab("[Settings]\r\nEncryptEdit_Value=7\r\n");
    ASSERT_TRUE(ClickIntoField());
    SelectAll();
    Type("00");
    ASSERT_EQ(Shown(), "00");
    ASSERT_TRUE(ClickAway());
    EXPECT_EQ(Shown(), "1");
}

TEST_F(PassesField, AValidNumberIsKeptAndWrittenToTheSettings) {
    StartOnSecurityTab("[Settings]\r\nEncryptEdit_Value=7\r\n");
    ASSERT_TRUE(ClickIntoField());
    SelectAll();
    Type("35");
    ASSERT_TRUE(ClickAway());
    EXPECT_EQ(Shown(), "35");
    program->EndSession();
    ASSERT_TRUE(program->WaitForExit());
    EXPECT_NE(ReadTextFile(folder / "settings.ini").find("EncryptEdit_Value=35\r\n"), std::string::npos);
}

}  // namespace
}  // namespace tarnwell::testing
