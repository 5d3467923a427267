#include "app/application.h"

namespace tarnwell {

namespace {

constexpr const char* kApplicationClass = "TTarnwellApplication";

LRESULT CALLBACK ApplicationProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

bool TApplication::Initialize(const std::string& title) {
    title_ = title;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ApplicationProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kApplicationClass;
    windowClass.hIcon = ::LoadIconA(windowClass.hInstance, MAKEINTRESOURCEA(1));
    ::RegisterClassA(&windowClass);
    // Never shown: it owns the main window and carries the program's title.
    handle_ = ::CreateWindowExA(0, kApplicationClass, title.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0,
                                nullptr, nullptr, windowClass.hInstance, nullptr);
    return handle_ != nullptr;
}

void TApplication::Terminate() {
    terminated_ = true;
    ::PostQuitMessage(0);
}

int TApplication::Run() {
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (OnMessage && OnMessage(message)) continue;
        if (DialogWindow && ::IsDialogMessageA(DialogWindow, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace tarnwell
