#include "ui/page_control.h"

#include <string>

#include "ui/late_bound.h"

namespace tarnwell {

namespace {

// An empty modeless dialog as a page: it gets dialog keyboard handling
// and the dialog background, and its children are created from the table.
struct EmptyPageTemplate {
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
};

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrA(page, DWLP_USER, lParam);
        return FALSE;
    }
    const auto* controls = reinterpret_cast<const TControlSet*>(::GetWindowLongPtrA(page, DWLP_USER));
    if (!controls) return FALSE;
    switch (message) {
        case WM_COMMAND:
            return controls->RouteCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
        case WM_DRAWITEM:
            return controls->RouteDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
        case WM_HSCROLL:
        case WM_VSCROLL:
            return controls->RouteScroll(reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
        case WM_CONTEXTMENU:
            return controls->RouteContextMenu(reinterpret_cast<HWND>(wParam),
                                              POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))})
                       ? TRUE
                       : FALSE;
        default:
            return FALSE;
    }
}

// Themed tab-page background on XP; absent elsewhere, then plain.
void EnableTabTexture(HWND page) {
    using EnableTexture = HRESULT(WINAPI*)(HWND, DWORD);
    const auto call = BindLater<EnableTexture>("uxtheme.dll", "EnableThemeDialogTexture");
    constexpr DWORD kEnableTab = 0x6;  // ETDT_ENABLETAB
    if (call) call(page, kEnableTab);
}

}  // namespace

bool TPageControl::Create(HWND parent, int id, RECT bounds, HFONT font) {
    tab_ = ::CreateWindowExA(0, WC_TABCONTROLA, "",
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | TCS_BOTTOM | TCS_MULTILINE,
                             bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr), nullptr);
    if (tab_) ::SendMessageA(tab_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return tab_ != nullptr;
}

HWND TPageControl::AddPage(std::string_view caption, int pageId, const TControlSet& controls) {
    std::string text(caption);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    ::SendMessageA(tab_, TCM_INSERTITEMA, pages_.size(), reinterpret_cast<LPARAM>(&item));

    EmptyPageTemplate page{};
    page.header.style = WS_CHILD | DS_CONTROL | WS_CLIPSIBLINGS;
    page.header.dwExtendedStyle = WS_EX_CONTROLPARENT;
    HWND hwnd = ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr), &page.header, ::GetParent(tab_), PageProc,
                                             reinterpret_cast<LPARAM>(&controls));
    if (!hwnd) return nullptr;
    ::SetWindowLongPtrA(hwnd, GWLP_ID, pageId);
    EnableTabTexture(hwnd);
    pages_.push_back(hwnd);
    return hwnd;
}

void TPageControl::LayoutPages() {
    RECT area;
    ::GetClientRect(tab_, &area);
    ::SendMessageA(tab_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    ::MapWindowPoints(tab_, ::GetParent(tab_), reinterpret_cast<POINT*>(&area), 2);
    for (HWND page : pages_)
        ::SetWindowPos(page, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                       SWP_NOACTIVATE);
    ShowOnly(ActivePageIndex());
}

int TPageControl::ActivePageIndex() const { return static_cast<int>(::SendMessageA(tab_, TCM_GETCURSEL, 0, 0)); }

void TPageControl::SetActivePageIndex(int index) {
    if (index < 0 || index >= PageCount()) return;
    ::SendMessageA(tab_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    ShowOnly(index);
}

void TPageControl::HandleSelectionChange() {
    ShowOnly(ActivePageIndex());
    if (OnChange) OnChange();
}

void TPageControl::ShowOnly(int index) {
    for (int i = 0; i < PageCount(); ++i) ::ShowWindow(pages_[static_cast<size_t>(i)], i == index ? SW_SHOW : SW_HIDE);
}

}  // namespace tarnwell
