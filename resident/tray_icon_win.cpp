#include "resident/tray_icon.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "resident/notice.h"

namespace tarnwell {

namespace {

// NOTIFYICONDATAA as the version 5 shell reads it, with the balloon
// fields; the headers of the oldest systems declare only the first five.
struct NotifyIconDataV5 {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    CHAR szTip[128];
    DWORD dwState;
    DWORD dwStateMask;
    CHAR szInfo[256];
    UINT uTimeout;
    CHAR szInfoTitle[64];
    DWORD dwInfoFlags;
};
#ifdef __i386__
static_assert(sizeof(NotifyIconDataV5) == 488, "the size the shell knows this layout by");
#endif
constexpr UINT kNifInfo = 0x10;
constexpr DWORD kNiifInfo = 0x1;
constexpr UINT kBalloonTimeout = 10000;

void CopyCut(char* field, size_t fieldSize, std::string_view text, size_t limit) {
    const std::string cut = CutToLimit(text, std::min(limit, fieldSize - 1));
    std::memcpy(field, cut.c_str(), cut.size() + 1);
}

}  // namespace

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

bool TTrayIcon::ShowBalloon(std::string_view title, std::string_view text) const {
    if (!shown_) return false;
    NotifyIconDataV5 data{};
    data.cbSize = sizeof data;
    data.hWnd = owner_;
    data.uID = kIconId;
    data.uFlags = kNifInfo;
    data.uTimeout = kBalloonTimeout;
    data.dwInfoFlags = kNiifInfo;
    CopyCut(data.szInfoTitle, sizeof data.szInfoTitle, title, kBalloonTitleLimit);
    CopyCut(data.szInfo, sizeof data.szInfo, text, kBalloonTextLimit);
    return ::Shell_NotifyIconA(NIM_MODIFY, reinterpret_cast<NOTIFYICONDATAA*>(&data)) != FALSE;
}

// The point is where the pointer was when the shell posted the click, not
// where it has moved since.
void TTrayIcon::HandleCallback(LPARAM mouseMessage) {
    if (!Enabled) return;
    if ((mouseMessage == WM_LBUTTONUP || mouseMessage == WM_RBUTTONUP) && OnClick) {
        const DWORD at = ::GetMessagePos();
        OnClick(POINT{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))});
    }
}

}  // namespace tarnwell
