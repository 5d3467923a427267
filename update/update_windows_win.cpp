#include "update/update_windows_win.h"

#include <algorithm>

#include "update/update_page.h"

namespace tarnwell {

namespace {

constexpr const char* kWindowClass = "TarnwellUpdateWindow";
// The same with the hourglass cursor, for the windows that wait.
constexpr const char* kBusyWindowClass = "TarnwellUpdateWindowBusy";
constexpr int kCancelButton = 1001;
constexpr int kOkButton = 1002;

bool RegisterWindowClass(WNDPROC procedure, bool busyCursor) {
    static bool registered[2] = {false, false};
    const char* names[2] = {kWindowClass, kBusyWindowClass};
    if (registered[busyCursor]) return true;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.hCursor = ::LoadCursorA(nullptr, busyCursor ? IDC_WAIT : IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = names[busyCursor];
    registered[busyCursor] = ::RegisterClassA(&windowClass) != 0;
    return registered[busyCursor];
}

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// Line ends as the edit control shows them.
std::string WithCrLf(std::string_view text) {
    std::string result;
    result.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            result += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            result += "\r\n";
        } else {
            result += c;
        }
    }
    return result;
}

}  // namespace

TUpdateWindow::TUpdateWindow(HWND owner, HFONT font) : owner_(owner), font_(font) {}

TUpdateWindow::~TUpdateWindow() {
    if (hwnd_) {
        ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

bool TUpdateWindow::Create(const char* caption, int width, int height, bool client, bool busyCursor) {
    if (!RegisterWindowClass(&TUpdateWindow::WindowProc, busyCursor)) return false;
    if (client) {
        RECT frame{0, 0, width, height};
        ::AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
        width = frame.right - frame.left;
        height = frame.bottom - frame.top;
    }
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    hwnd_ = ::CreateWindowExA(kExStyle, busyCursor ? kBusyWindowClass : kWindowClass, caption, kStyle, x,
                              y, width, height, owner_, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (hwnd_) ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return hwnd_ != nullptr;
}

HWND TUpdateWindow::AddControl(const char* className, const char* text, DWORD style, int x, int y, int width,
                               int height, int id) {
    if (!hwnd_) return nullptr;
    HWND control = ::CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, hwnd_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr),
                                     nullptr);
    if (control && font_) ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return control;
}

// The owner is disabled while the window shows, as with any modal window;
// a quit request ends the loop and is kept for the main loop.
ModalResult TUpdateWindow::ShowModal() {
    if (!hwnd_) return ModalResult::Cancel;
    const bool ownerWasEnabled = owner_ && ::IsWindowEnabled(owner_);
    if (ownerWasEnabled) ::EnableWindow(owner_, FALSE);
    showing_ = true;
    ::ShowWindow(hwnd_, SW_SHOWNORMAL);
    ::SetForegroundWindow(hwnd_);
    while (showing_) {
        MSG message;
        if (::GetMessageA(&message, nullptr, 0, 0) <= 0) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            result_ = ModalResult::Cancel;
            break;
        }
        if (::IsDialogMessageA(hwnd_, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    showing_ = false;
    if (ownerWasEnabled) ::EnableWindow(owner_, TRUE);
    ::ShowWindow(hwnd_, SW_HIDE);
    return result_;
}

void TUpdateWindow::Close(ModalResult result) {
    result_ = result;
    showing_ = false;
    // Wakes the loop of ShowModal, which may be waiting for a message.
    if (hwnd_) ::PostMessageA(hwnd_, WM_NULL, 0, 0);
}

LRESULT CALLBACK TUpdateWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* window = reinterpret_cast<TUpdateWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (window && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        window->Command(LOWORD(wParam));
        return 0;
    }
    // No title-bar buttons: Alt+F4 and the like do not close the window.
    if (message == WM_CLOSE) return 0;
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

TWaitWindow::TWaitWindow(HWND owner, HFONT font, std::string_view activity) : TUpdateWindow(owner, font) {
    if (!Create("Please Wait", 240, 100, false, true)) return;
    RECT client;
    ::GetClientRect(Handle(), &client);
    AddControl("STATIC", std::string(activity).c_str(), SS_CENTER, 8, (client.bottom - 16) / 2, client.right - 16, 16,
               -1);
}

TWebDlProgress::TWebDlProgress(HWND owner, HFONT font, std::string_view caption) : TUpdateWindow(owner, font) {
    if (!Create("Download Progress", 272, 123, true, true)) return;
    AddControl("STATIC", std::string(caption).c_str(), SS_CENTER, 8, 10, 256, 16, -1);
    progress_ = AddControl(PROGRESS_CLASSA, "", 0, 8, 32, 256, 18, -1);
    ::SendMessageA(progress_, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    text_ = AddControl("STATIC", "", SS_CENTER, 8, 58, 256, 16, -1);
    AddControl("BUTTON", "&Cancel", BS_PUSHBUTTON | WS_TABSTOP, 98, 86, 75, 25, kCancelButton);
}

void TWebDlProgress::Progress(std::int64_t received, std::int64_t total) {
    if (cancelled_) return;
    ::SetWindowTextA(text_, ProgressText(received, total).c_str());
    const std::optional<int> percent = ProgressPercent(received, total);
    if (!percent || *percent <= position_) return;
    position_ = *percent;
    ::SendMessageA(progress_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TWebDlProgress::Command(int id) {
    if (id != kCancelButton || cancelled_) return;
    cancelled_ = true;
    if (OnCancel) OnCancel();
}

TReadMeWindow::TReadMeWindow(HWND owner, HFONT font, std::string_view text) : TUpdateWindow(owner, font) {
    const int width = ::GetSystemMetrics(SM_CXSCREEN) * 4 / 5;
    const int height = ::GetSystemMetrics(SM_CYSCREEN) * 4 / 5;
    if (!Create("Read Me", width, height, false, false)) return;
    HWND memo = AddControl("EDIT", "", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_HSCROLL |
                                           WS_VSCROLL | WS_BORDER | WS_TABSTOP,
                           10, 10, width - 25, height - 80, -1);
    ::SetWindowTextA(memo, WithCrLf(text).c_str());
    AddControl("BUTTON", "&Ok", BS_DEFPUSHBUTTON | WS_TABSTOP, (width - 68) / 2, height - 56, 68, 22, kOkButton);
}

void TReadMeWindow::Command(int id) {
    if (id == kOkButton || id == IDOK || id == IDCANCEL) Close(ModalResult::Ok);
}

}  // namespace tarnwell
