#include "ui/form.h"

#include <string>

namespace tarnwell {

HWND CreateForm(const FormLook& look, WNDPROC windowProc, HWND owner, void* form) {
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = look.icon;
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = look.className;
    // Fails harmlessly when the class exists already; creation then uses it.
    ::RegisterClassA(&windowClass);
    RECT frame = {0, 0, look.clientWidth, look.clientHeight};
    ::AdjustWindowRectEx(&frame, look.style, FALSE, look.exStyle);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    return ::CreateWindowExA(look.exStyle, look.className, look.caption, look.style, x, y, width, height, owner,
                             nullptr, instance, form);
}

HWND CreateBanner(HWND form, const ControlDecl& decl, HBITMAP picture) {
    HWND banner = ::CreateWindowExA(0, "STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_BITMAP, decl.x, decl.y, decl.w,
                                    decl.h, form, reinterpret_cast<HMENU>(static_cast<INT_PTR>(decl.id)),
                                    ::GetModuleHandleA(nullptr), nullptr);
    if (banner && picture) ::SendMessageA(banner, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
    return banner;
}

std::vector<HWND> CreatePages(TPageControl& pages, HWND form, const ControlDecl& pagesDecl,
                              std::span<const ControlDecl> table, PageId sheetsPage, const TControlSet& controls,
                              HFONT font) {
    pages.Create(form, pagesDecl.id,
                 RECT{pagesDecl.x, pagesDecl.y, pagesDecl.x + pagesDecl.w, pagesDecl.y + pagesDecl.h}, font);
    std::vector<HWND> sheets;
    for (const ControlDecl& decl : table)
        if (decl.page == sheetsPage && decl.kind == ControlKind::Page)
            sheets.push_back(pages.AddPage(decl.caption, decl.id, controls));
    pages.LayoutPages();
    return sheets;
}

void RunModal(HWND owner, HWND form, const bool& running) {
    ::EnableWindow(owner, FALSE);
    ::ShowWindow(form, SW_SHOW);
    ::SetForegroundWindow(form);
    MSG message;
    while (running && ::GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (::IsDialogMessageA(form, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    if (running) ::PostQuitMessage(static_cast<int>(message.wParam));
    ::EnableWindow(owner, TRUE);
    ::ShowWindow(form, SW_HIDE);
    ::SetForegroundWindow(owner);
}

bool RoutePageChange(TPageControl& pages, LPARAM lParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->hwndFrom != pages.Handle()) return false;
    if (header->code == TCN_SELCHANGE) pages.HandleSelectionChange();
    return true;
}

}  // namespace tarnwell
