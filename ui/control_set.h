#pragma once
// The live controls of one window, found by their IDs from the control
// table, with the routing of child notifications to them.
#include <map>
#include <memory>

#include "ui/controls.h"

namespace tarnwell {

class TControlSet {
public:
    void Add(std::unique_ptr<TControl> control) {
        const int id = control->Id();
        controls_[id] = std::move(control);
    }
    TControl* Find(int id) const {
        auto it = controls_.find(id);
        return it == controls_.end() ? nullptr : it->second.get();
    }
    // For IDs the table declares with kind T. A missing control or one of
    // another kind is a programming error: the program stops with a message
    // naming the ID rather than acting on the wrong control.
    template <typename T>
    T& Get(int id) const {
        T* control = dynamic_cast<T*>(Find(id));
        if (!control) WrongControl(id);
        return *control;
    }

    // WM_COMMAND from a child control.
    bool RouteCommand(int id, int code) const {
        TControl* control = Find(id);
        if (!control) return false;
        control->HandleCommand(code);
        return true;
    }
    // WM_DRAWITEM for a control the program draws.
    bool RouteDrawItem(const DRAWITEMSTRUCT& draw) const {
        TControl* control = Find(static_cast<int>(draw.CtlID));
        return control && control->HandleDrawItem(draw);
    }
    // WM_HSCROLL / WM_VSCROLL from a slider.
    bool RouteContextMenu(HWND child, POINT at) const {
        TControl* control = child ? Find(::GetDlgCtrlID(child)) : nullptr;
        return control && control->Handle() == child && control->HandleContextMenu(at);
    }

    bool RouteScroll(HWND child) const {
        TControl* control = child ? Find(::GetDlgCtrlID(child)) : nullptr;
        if (!control) return false;
        control->HandleScroll();
        return true;
    }

private:
    [[noreturn]] static void WrongControl(int id);

    std::map<int, std::unique_ptr<TControl>> controls_;
};

}  // namespace tarnwell
