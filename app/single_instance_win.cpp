#include "app/single_instance.h"

#include "app/application.h"

namespace tarnwell {

bool TXJustOne::Check(TApplication& application) {
    const std::string& title = application.Title();
    mutex_.reset(::CreateMutexA(nullptr, FALSE, title.c_str()));
    if (mutex_ && ::GetLastError() != ERROR_ALREADY_EXISTS) return true;

    if (AlreadyExist) AlreadyExist();
    if (SwitchToPrevious) {
        // Blank the first window found with the title, so the second search
        // finds the other instance's window rather than the same one again.
        if (HWND first = ::FindWindowA(nullptr, title.c_str())) ::SetWindowTextA(first, "");
        if (HWND previous = ::FindWindowA(nullptr, title.c_str())) {
            if (::IsIconic(previous))
                ::ShowWindow(previous, SW_RESTORE);
            else
                ::BringWindowToTop(previous);
        }
    }
    if (Terminate) {
        application.ShowMainForm = false;
        application.Terminate();
    }
    return false;
}

}  // namespace tarnwell
