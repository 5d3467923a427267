#pragma once
// A popup menu built from the control table's rows of one page: items
// with click events, one level of submenu, a bold default item.
#include <functional>
#include <map>

#include <span>

#include "base/control_decl.h"
#include "base/win.h"

namespace tarnwell {

class TPopupMenu {
public:
    // The menu of the rows of `table` that sit on `page`.
    TPopupMenu(PageId page, std::span<const ControlDecl> table);
    ~TPopupMenu();
    TPopupMenu(const TPopupMenu&) = delete;
    TPopupMenu& operator=(const TPopupMenu&) = delete;

    HMENU Handle() const { return menu_; }
    void SetOnClick(int id, std::function<void()> handler) { handlers_[id] = std::move(handler); }
    void SetEnabled(int id, bool enabled);
    bool Enabled(int id) const;

    // Shows the menu for `owner` with its bottom-right corner at `at`
    // (screen coordinates) and returns once it closes.
    void Popup(HWND owner, POINT at);
    // WM_COMMAND from a menu; false when the ID is not one of this menu's.
    bool HandleCommand(int id);

private:
    HMENU menu_ = nullptr;
    std::map<int, std::function<void()>> handlers_;
};

}  // namespace tarnwell
