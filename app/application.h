#pragma once
// The hidden application window and the message loop: the window that
// owns the main window (so the program needs no taskbar button), and the
// hook that sees every posted message before it is dispatched.
#include <functional>
#include <string>

#include "base/win.h"

namespace tarnwell {

class TApplication {
public:
    bool Initialize(const std::string& title);
    HWND Handle() const { return handle_; }
    const std::string& Title() const { return title_; }

    // Cleared for a start that must not show the main window.
    bool ShowMainForm = true;
    // Sees every message taken from the queue; true means handled.
    std::function<bool(MSG&)> OnMessage;
    // Window whose dialog keys (Tab, arrows, mnemonics) the loop handles.
    HWND DialogWindow = nullptr;

    // Ends the loop at its next pass.
    void Terminate();
    bool Terminated() const { return terminated_; }
    int Run();

private:
    HWND handle_ = nullptr;
    std::string title_;
    bool terminated_ = false;
};

}  // namespace tarnwell
