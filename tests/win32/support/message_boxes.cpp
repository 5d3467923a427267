#include "tests/win32/support/message_boxes.h"

#include <functional>

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

HWND VisibleDialog(std::function<bool(HWND)> matches) {
    DialogSearch search{std::move(matches)};
    ::EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

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

HWND ShownCookieKeeper() {
    const HWND dialog = ::FindWindowA("TCookieKeep", "Cookie Keeper");
    return dialog && ::IsWindowVisible(dialog) ? dialog : nullptr;
}

}  // namespace tarnwell::testing
