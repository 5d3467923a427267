#pragma once
// Waits for a condition instead of a fixed time: a loaded machine only
// makes the wait longer, and a condition that never comes fails the test.
#include <functional>

#include "base/win.h"

namespace tarnwell::testing {

// Checks the condition every few milliseconds until it holds (true) or the
// time is up (false), without looking at this thread's messages.
inline bool WaitUntil(const std::function<bool()>& done, DWORD milliseconds = 20000) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > milliseconds) return false;
        ::Sleep(20);
    }
    return true;
}

// The same, running this thread's message loop meanwhile: scanner reports
// and ends arrive as messages.
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
