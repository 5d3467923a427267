#pragma once
// What the program's own top-level windows share: a registered class whose
// window procedure reaches the owning object, a fixed client area centred
// on the screen, the banner picture across the top, and a page control
// whose tab sheets are built from rows of the control table.
#include <span>
#include <vector>

#include "base/control_decl.h"
#include "base/win.h"
#include "ui/control_set.h"
#include "ui/page_control.h"

namespace tarnwell {

struct FormLook {
    const char* className;
    const char* caption;
    DWORD style;
    DWORD exStyle;
    int clientWidth;
    int clientHeight;
    HICON icon;  // may be null
};

// Registers the class and creates the window centred on
// the screen; `form` is handed to the window procedure in WM_NCCREATE.
HWND CreateForm(const FormLook& look, WNDPROC windowProc, HWND owner, void* form);

// The window procedure of a form class T: the object passed to CreateForm
// gets its window in `T::Attach` and every message in `T::HandleMessage`
// until it detaches itself (WM_DESTROY).
template <typename T>
LRESULT CALLBACK FormWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<T*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        form->Attach(hwnd);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<T*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    return form ? form->HandleMessage(message, wParam, lParam) : ::DefWindowProcA(hwnd, message, wParam, lParam);
}

// Stops messages reaching the object once its window is going away.
inline void DetachForm(HWND hwnd) { ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0); }

// The banner picture control for `decl`; the form keeps `picture` alive.
HWND CreateBanner(HWND form, const ControlDecl& decl, HBITMAP picture);

// Creates the page control of `pagesDecl` with one tab sheet for each Page
// row of `table` on `sheetsPage`, in table order; answers the sheets.
std::vector<HWND> CreatePages(TPageControl& pages, HWND form, const ControlDecl& pagesDecl,
                              std::span<const ControlDecl> table, PageId sheetsPage, const TControlSet& controls,
                              HFONT font);

// Shows `form` over its disabled owner and runs its messages, with the
// dialog keys (Tab, Enter, Esc) through IsDialogMessage, until `running`
// turns false; then hides it. A WM_QUIT that arrives meanwhile (the program
// is ending) is posted again for the main loop.
void RunModal(HWND owner, HWND form, const bool& running);

// WM_NOTIFY: switches the visible sheet when the user picks another tab;
// true when the notification was the page control's.
bool RoutePageChange(TPageControl& pages, LPARAM lParam);

}  // namespace tarnwell
