#pragma once
// The notification-area icon of one window: present while Active, reacting
// to clicks only while Enabled. It exists only with its window and icon,
// and removes itself when destroyed.
#include <functional>
#include <string>
#include <string_view>

#include "base/win.h"

namespace tarnwell {

class TTrayIcon {
public:
    static constexpr UINT kCallbackMessage = WM_APP + 1;
    static constexpr UINT kIconId = 1;

    TTrayIcon(HWND owner, HICON icon, std::string hint);
    ~TTrayIcon();
    TTrayIcon(const TTrayIcon&) = delete;
    TTrayIcon& operator=(const TTrayIcon&) = delete;

    // Whether the icon is meant to be shown (the stealth key hides it).
    bool Active() const { return active_; }
    // False when the shell refused the icon; a shell that starts later
    // (TaskbarCreated) gets it then.
    bool SetActive(bool active);
    // Whether the shell holds the icon now.
    bool Shown() const { return shown_; }
    bool Enabled = false;

    // The message the shell broadcasts when it (re)starts with an empty
    // notification area; its handler is ShellRestarted.
    static UINT TaskbarCreatedMessage();
    void ShellRestarted();

    // A balloon tip on the icon (shells of Windows ME, 2000 and later):
    // the information icon, ten seconds, the title and text cut to what
    // the balloon holds. False when the shell refused it.
    bool ShowBalloon(std::string_view title, std::string_view text) const;

    // The icon's callback message, routed from the owner window.
    void HandleCallback(LPARAM mouseMessage);
    // A click, with the screen point where it happened.
    std::function<void(POINT)> OnClick;

private:
    bool Notify(DWORD action) const;

    HWND owner_;
    HICON icon_;
    std::string hint_;
    bool active_ = false;
    bool shown_ = false;
};

}  // namespace tarnwell
