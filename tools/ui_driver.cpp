// Drives a running Tarnwell from outside, for screenshots and manual
// checks: "ui_driver select-tab N" shows the N-th tab (0 = first), as the
// arrow keys on the tab row would; "ui_driver click ID" clicks the control
// with that ID and waits until it is enabled again; "ui_driver details ID"
// double-clicks the risk label with that ID, which opens its item's details.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/control_table.h"
#include "base/win.h"

namespace {

HWND FindTabs() {
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (HWND main = ::FindWindowA("TMainForm", nullptr)) {
            if (HWND tabs = ::GetDlgItem(main, tarnwell::ctl::PageControl)) return tabs;
        }
        ::Sleep(50);
    }
    return nullptr;
}

int SelectTab(int index) {
    HWND tabs = FindTabs();
    if (!tabs) {
        std::fprintf(stderr, "no Tarnwell window found\n");
        return 1;
    }
    // The tab control moves its selection on arrow keys and tells its
    // parent, exactly as when the user presses them.
    const int count = static_cast<int>(::SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) ::SendMessageA(tabs, WM_KEYDOWN, VK_LEFT, 0);
    for (int i = 0; i < index; ++i) ::SendMessageA(tabs, WM_KEYDOWN, VK_RIGHT, 0);
    return ::SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == index ? 0 : 1;
}

struct Search {
    int id;
    HWND found;
};

BOOL CALLBACK MatchId(HWND child, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    if (::GetDlgCtrlID(child) != search->id) return TRUE;
    search->found = child;
    return FALSE;
}

HWND FindControl(int id) {
    if (!FindTabs()) {
        std::fprintf(stderr, "no Tarnwell window found\n");
        return nullptr;
    }
    Search search{id, nullptr};
    ::EnumChildWindows(::FindWindowA("TMainForm", nullptr), MatchId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int Details(int id) {
    HWND label = FindControl(id);
    if (!label) return 1;
    ::PostMessageA(label, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    for (int waited = 0; !::FindWindowA("TDetailsForm", nullptr) && waited < 100; ++waited) ::Sleep(100);
    return ::FindWindowA("TDetailsForm", nullptr) ? 0 : 1;
}

int Click(int id) {
    HWND button = FindControl(id);
    if (!button) return 1;
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 60000, &result);
    for (int waited = 0; !::IsWindowEnabled(button) && waited < 600; ++waited) ::Sleep(100);
    return ::IsWindowEnabled(button) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "select-tab") == 0) return SelectTab(std::atoi(argv[2]));
    if (argc == 3 && std::strcmp(argv[1], "click") == 0) return Click(std::atoi(argv[2]));
    if (argc == 3 && std::strcmp(argv[1], "details") == 0) return Details(std::atoi(argv[2]));
    std::fprintf(stderr, "usage: ui_driver select-tab N | click ID | details ID\n");
    return 2;
}
