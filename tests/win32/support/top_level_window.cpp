#include "tests/win32/support/top_level_window.h"

namespace tarnwell::testing {

TopLevelWindow::TopLevelWindow(const char* className, const char* title, bool shown) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    ::RegisterClassA(&windowClass);  // fails harmlessly for a class made before
    hwnd_ = ::CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr, nullptr,
                              ::GetModuleHandleA(nullptr), nullptr);
    if (shown) ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
}

void TopLevelWindow::Close() {
    if (hwnd_) ::DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

}  // namespace tarnwell::testing
