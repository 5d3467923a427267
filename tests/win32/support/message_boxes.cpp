#include "tests/win32/support/message_boxes.h"

#include <functional>

#include "tests/win32/support/message_pump.h"

namespace tarnwell::testing {

namespace {

std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    ::GetClassNameA(hwnd, name, sizeof name);
    return name;
}

struct DialogSearch {
    std::function<bool(HWND)> matches;
    HWND found = nullptr;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<DialogSearch*>(lParam);
    if (!::IsWindowVisible(hwnd) || ClassOf(hwnd) != "#32770" || !search->matches(hwnd)) return TRUE;
    search->found = hwnd;
    return FALSE;
}

}  // namespace

HWND VisibleDialog(std::function<bool(HWND)> matches) {
    DialogSearch search{std::move(matches)};
    ::EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND MessageBoxWith(const std::string& caption, const std::string& textPart) {
    return VisibleDialog([&](HWND box) {
        char title[128] = {};
        ::GetWindowTextA(box, title, sizeof title);
        return caption == title && BoxText(box).find(textPart) != std::string::npos;
    });
}

std::string BoxText(HWND box) {
    char text[1024] = {};
    ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

HWND FolderPicker() {
    return VisibleDialog([](HWND dialog) { return ::FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr) != nullptr; });
}

bool PickInFolderPicker(HWND button, const std::function<HTREEITEM(HWND tree, HTREEITEM opened)>& choose) {
    ::PostMessageA(button, BM_CLICK, 0, 0);
    HWND picker = nullptr;
    if (!WaitUntil([&] { return (picker = FolderPicker()) != nullptr; })) return false;
    const HWND tree = ::FindWindowExA(picker, nullptr, "SysTreeView32", nullptr);
    HTREEITEM chosen = nullptr;
    if (!WaitUntil([&] {
            const HTREEITEM opened = TreeView_GetSelection(tree);
            return opened && (chosen = choose(tree, opened)) != nullptr;
        }))
        return false;
    TreeView_SelectItem(tree, chosen);
    ::PostMessageA(picker, WM_COMMAND, IDOK, 0);
    return true;
}

HTREEITEM FirstSubfolder(HWND tree, HTREEITEM item) {
    TreeView_Expand(tree, item, TVE_EXPAND);
    return TreeView_GetChild(tree, item);
}

HWND ShownCookieKeeper() {
    const HWND dialog = ::FindWindowA("TCookieKeep", "Cookie Keeper");
    return dialog && ::IsWindowVisible(dialog) ? dialog : nullptr;
}

}  // namespace tarnwell::testing
