#include "resident/tray_icon.h"

#include <shellapi.h>

#include <cstring>

namespace tarnwell {

void TTrayIcon::SetOwner(HWND owner, HICON icon, std::string hint) {
    owner_ = owner;
    icon_ = icon;
    hint_ = std::move(hint);
}

NOTIFYICONDATAA TTrayIcon::Data() const {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;  // understood by every shell version
    data.hWnd = owner_;
    data.uID = 1;
    data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    data.uCallbackMessage = kCallbackMessage;
    data.hIcon = icon_;
    std::strncpy(data.szTip, hint_.c_str(), 63);
    return data;
}

void TTrayIcon::SetActive(bool active) {
    if (active == active_ || !owner_) return;
    NOTIFYICONDATAA data = Data();
    // The icon counts as present even when the shell is not there yet, so
    // that removing and adding it again (as a second start does) re-adds it.
    ::Shell_NotifyIconA(active ? NIM_ADD : NIM_DELETE, &data);
    active_ = active;
}

void TTrayIcon::HandleCallback(LPARAM mouseMessage) {
    if (!Enabled) return;
    if ((mouseMessage == WM_LBUTTONUP || mouseMessage == WM_RBUTTONUP) && OnClick) OnClick();
}

}  // namespace tarnwell
