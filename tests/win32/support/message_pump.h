#pragma once
// Runs this thread's message loop until a condition holds: scanner
// reports and ends arrive as messages.
#include <functional>

#include "base/win.h"

namespace tarnwell::testing {

inline bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = 60000) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > milliseconds) return false;
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        if (!done()) ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

}  // namespace tarnwell::testing
