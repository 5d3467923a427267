#pragma once
// The windows of the update dialogue: the wait window while a page is
// fetched, the download progress window and the read-me window. Each is a
// fixed dialog frame without title-bar buttons, centred on the screen, and
// shown modally: its owner is disabled and messages run until it closes.
#include <functional>
#include <string>
#include <string_view>

#include "base/win.h"

namespace tarnwell {

enum class ModalResult { None, Ok, Cancel };

class TUpdateWindow {
public:
    TUpdateWindow(HWND owner, HFONT font);
    virtual ~TUpdateWindow();
    TUpdateWindow(const TUpdateWindow&) = delete;
    TUpdateWindow& operator=(const TUpdateWindow&) = delete;

    // Runs until Close; the result Close was given.
    ModalResult ShowModal();
    void Close(ModalResult result);
    bool Showing() const { return showing_; }
    HWND Handle() const { return hwnd_; }

protected:
    // Makes the window with an outer size, or a client size when `client`.
    bool Create(const char* caption, int width, int height, bool client, bool busyCursor);
    HWND AddControl(const char* className, const char* text, DWORD style, int x, int y, int width, int height, int id);
    virtual void Command(int /*id*/) {}

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND owner_;
    HFONT font_;
    HWND hwnd_ = nullptr;
    bool showing_ = false;
    ModalResult result_ = ModalResult::None;
};

// "Please Wait", with one centred line saying what is being fetched.
class TWaitWindow : public TUpdateWindow {
public:
    TWaitWindow(HWND owner, HFONT font, std::string_view activity);
};

class TWebDlProgress : public TUpdateWindow {
public:
    TWebDlProgress(HWND owner, HFONT font, std::string_view caption);
    // Shows the received bytes; the bar moves only forwards.
    void Progress(std::int64_t received, std::int64_t total);
    bool Cancelled() const { return cancelled_; }
    std::function<void()> OnCancel;

private:
    void Command(int id) override;

    HWND progress_ = nullptr;
    HWND text_ = nullptr;
    int position_ = 0;
    bool cancelled_ = false;
};

// "Read Me": the release notes in a read-only memo, closed with "&Ok".
class TReadMeWindow : public TUpdateWindow {
public:
    TReadMeWindow(HWND owner, HFONT font, std::string_view text);

private:
    void Command(int id) override;
};

}  // namespace tarnwell
