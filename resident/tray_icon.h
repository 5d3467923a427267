#pragma once
// The notification-area icon: present while Active, reacting to clicks
// only while Enabled.
#include <functional>
#include <string>

#include "ui/win.h"

#include <shellapi.h>

namespace tarnwell {

class TTrayIcon {
public:
    static constexpr UINT kCallbackMessage = WM_APP + 1;

    void SetOwner(HWND owner, HICON icon, std::string hint);
    ~TTrayIcon() { SetActive(false); }

    bool Active() const { return active_; }
    void SetActive(bool active);
    bool Enabled = false;

    // The icon's callback message, routed from the owner window.
    void HandleCallback(LPARAM mouseMessage);
    std::function<void()> OnClick;

private:
    NOTIFYICONDATAA Data() const;

    HWND owner_ = nullptr;
    HICON icon_ = nullptr;
    std::string hint_;
    bool active_ = false;
};

}  // namespace tarnwell
