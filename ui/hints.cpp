#include "ui/hints.h"

#include <string>

namespace tarnwell {

bool THints::Create(HWND owner) {
    tooltip_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                 ::GetModuleHandleA(nullptr), nullptr);
    // Long hints wrap instead of running off the screen; CR LF breaks lines.
    if (tooltip_) ::SendMessageA(tooltip_, TTM_SETMAXTIPWIDTH, 0, 360);
    return tooltip_ != nullptr;
}

void THints::Add(HWND control, std::string_view text) {
    if (!tooltip_ || !control || text.empty()) return;
    std::string copy(text);
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = ::GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = copy.data();  // the tooltip keeps its own copy
    ::SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace tarnwell
