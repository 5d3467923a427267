#pragma once
// A top-level window of a chosen class, made by the test the way another
// program (a browser, say) would have one open.
#include "base/win.h"

namespace tarnwell::testing {

class TopLevelWindow {
public:
    // Shown without taking the focus unless `shown` is false.
    TopLevelWindow(const char* className, const char* title, bool shown = true);
    ~TopLevelWindow() { Close(); }
    TopLevelWindow(const TopLevelWindow&) = delete;
    TopLevelWindow& operator=(const TopLevelWindow&) = delete;

    HWND Handle() const { return hwnd_; }
    bool Visible() const { return ::IsWindowVisible(hwnd_) != FALSE; }
    void Close();

private:
    HWND hwnd_ = nullptr;
};

}  // namespace tarnwell::testing
