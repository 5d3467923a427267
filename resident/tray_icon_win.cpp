#include "resident/tray_icon.h"

#include <shellapi.h>

#include <cstring>

namespace tarnwell {

TTrayIcon::TTrayIcon(HWND owner, HICON icon, std::string hint)
    : owner_(owner), icon_(icon), hint_(std::move(hint)) {}

TTrayIcon::~TTrayIcon() { SetActive(false); }

UINT TTrayIcon::TaskbarCreatedMessage() {
    static const UINT message = ::RegisterWindowMessageA("TaskbarCreated");
    return message;
}

bool TTrayIcon::Notify(DWORD action) const {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;  // understood by every shell version
    data.hWnd = owner_;
    data.uID = kIconId;
    data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    data.uCallbackMessage = kCallbackMessage;
    data.hIcon = icon_;
    std::strncpy(data.szTip, hint_.c_str(), sizeof data.szTip - 1);
    return ::Shell_NotifyIconA(action, &data) != FALSE;
}

bool TTrayIcon::SetActive(bool active) {
    active_ = active;
    if (active && !shown_) shown_ = Notify(NIM_ADD);
    if (!active && shown_) {
        Notify(NIM_DELETE);
        shown_ = false;
    }
    return shown_ == active;
}

// A restarted shell has forgotten every icon, so whatever it held is gone;
// the icon comes back unless it is meant to be hidden.
void TTrayIcon::ShellRestarted() {
    shown_ = false;
    if (active_) shown_ = Notify(NIM_ADD);
}

void TTrayIcon::HandleCallback(LPARAM mouseMessage) {
    if (!Enabled) return;
    if ((mouseMessage == WM_LBUTTONUP || mouseMessage == WM_RBUTTONUP) && OnClick) OnClick();
}

}  // namespace tarnwell
