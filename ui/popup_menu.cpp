#include "ui/popup_menu.h"

#include <string>

namespace tarnwell {

TPopupMenu::TPopupMenu(PageId page, std::span<const ControlDecl> table) {
    menu_ = ::CreatePopupMenu();
    HMENU submenu = nullptr;
    for (const ControlDecl& decl : table) {
        if (decl.page != page) continue;
        const std::string caption(decl.caption);
        HMENU parent = (decl.flags & F_SUBMENU) && submenu ? submenu : menu_;
        switch (decl.kind) {
            case ControlKind::MenuSeparator: ::AppendMenuA(parent, MF_SEPARATOR, 0, nullptr); break;
            case ControlKind::SubMenu:
                submenu = ::CreatePopupMenu();
                ::AppendMenuA(menu_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu), caption.c_str());
                break;
            case ControlKind::MenuItem:
                ::AppendMenuA(parent, MF_STRING, static_cast<UINT_PTR>(decl.id), caption.c_str());
                if (decl.flags & F_DEFAULT) ::SetMenuDefaultItem(menu_, static_cast<UINT>(decl.id), FALSE);
                break;
            default: break;
        }
    }
}

TPopupMenu::~TPopupMenu() {
    if (menu_) ::DestroyMenu(menu_);  // submenus go with it
}

void TPopupMenu::SetEnabled(int id, bool enabled) {
    ::EnableMenuItem(menu_, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool TPopupMenu::Enabled(int id) const {
    const UINT state = ::GetMenuState(menu_, static_cast<UINT>(id), MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

void TPopupMenu::Popup(HWND owner, POINT at) {
    // Without the foreground the menu would not close when the user
    // clicks elsewhere.
    ::SetForegroundWindow(owner);
    ::TrackPopupMenuEx(menu_, TPM_RIGHTALIGN | TPM_BOTTOMALIGN | TPM_RIGHTBUTTON, at.x, at.y, owner, nullptr);
    ::PostMessageA(owner, WM_NULL, 0, 0);
}

bool TPopupMenu::HandleCommand(int id) {
    auto it = handlers_.find(id);
    if (it == handlers_.end()) return false;
    if (Enabled(id) && it->second) it->second();
    return true;
}

}  // namespace tarnwell
