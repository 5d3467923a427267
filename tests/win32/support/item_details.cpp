#include "tests/win32/support/item_details.h"

#include "app/control_table.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/tarnwell_process.h"

namespace tarnwell::testing {

namespace {

HWND ShownDetails(DWORD processId) {
    HWND window = nullptr;
    WaitUntil([&] { return (window = ShownWindowOf(processId, "TDetailsForm", "Item Details")) != nullptr; });
    return window;
}

}  // namespace

HWND OpenItemDetails(const TarnwellProcess& program, int label) {
    ::PostMessageA(program.Control(label), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    return ShownDetails(program.ProcessId());
}

HWND OpenItemDetailsFromList(const TarnwellProcess& program, int list, int row) {
    HWND box = program.Control(list);
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(box, LB_SETCURSEL, row, 0, SMTO_NORMAL, 5000, &result);
    // The list answers the double click at the row under the pointer.
    RECT item{};
    ::SendMessageTimeoutA(box, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item), SMTO_NORMAL, 5000, &result);
    const LPARAM at = MAKELPARAM(item.left + 2, item.top + 2);
    ::PostMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageA(box, WM_LBUTTONUP, 0, at);
    ::PostMessageA(box, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ::PostMessageA(box, WM_LBUTTONUP, 0, at);
    return ShownDetails(program.ProcessId());
}

ItemDetailsView ReadItemDetails(HWND window) {
    ItemDetailsView view;
    view.window = window;
    view.caption = WindowText(FindChildById(window, ctl::DetailsCaptionLBL));
    view.run = WindowText(FindChildById(window, ctl::DetailsRunLBL));
    view.totals = WindowText(FindChildById(window, ctl::DetailsTotalsLBL));
    view.stillHeading = WindowText(FindChildById(window, ctl::DetailsStillLBL));
    view.listed = ListBoxItems(FindChildById(window, ctl::DetailsList));
    view.stillThere = ListBoxItems(FindChildById(window, ctl::DetailsStillList));
    return view;
}

void ClickInDetails(HWND window, int button) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(FindChildById(window, button), BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &result);
}

bool CloseItemDetails(HWND window) {
    ::PostMessageA(FindChildById(window, ctl::DetailsCloseBTN), BM_CLICK, 0, 0);
    return WaitUntil([&] { return !::IsWindow(window) || !::IsWindowVisible(window); });
}

}  // namespace tarnwell::testing
