#pragma once
// Hints: the tooltip shown when the mouse rests on a control.
#include <string_view>

#include "base/win.h"

namespace tarnwell {

class THints {
public:
    bool Create(HWND owner);
    void Add(HWND control, std::string_view text);
    HWND Handle() const { return tooltip_; }

private:
    HWND tooltip_ = nullptr;
};

}  // namespace tarnwell
