#pragma once
// The notice window of the older shells, which have no balloon tips: a
// borderless, always-on-top picture with a title and a text, shaped like
// its picture, in the bottom-right corner of the desktop. It disappears
// after ten seconds or when clicked, and never takes the focus.
#include <memory>

#include "base/handles.h"
#include "resident/notice.h"
#include "ui/control_set.h"
#include "ui/form.h"

namespace tarnwell {

class TPopForm {
public:
    static constexpr const char* kClassName = "TPopForm";
    static constexpr UINT_PTR kPostTimer = 1;
    static constexpr UINT kPostTimerInterval = 10000;

    TPopForm() = default;
    ~TPopForm();
    TPopForm(const TPopForm&) = delete;
    TPopForm& operator=(const TPopForm&) = delete;

    // Creates the window hidden, with its shape cut from its picture.
    bool Create(HFONT font, HFONT boldFont);
    // Shows `notice` for ten seconds; a notice that comes while another
    // shows replaces its texts and starts the ten seconds again.
    void ShowNotice(const NoticeText& notice);
    HWND Handle() const { return hwnd_; }

private:
    friend LRESULT CALLBACK FormWindowProc<TPopForm>(HWND, UINT, WPARAM, LPARAM);
    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void PaintPicture(HDC dc) const;
    void PostTimerTimer();
    void PictureClick();

    HWND hwnd_ = nullptr;
    GdiBitmap picture_;
    TControlSet controls_;
    bool postTimerRunning_ = false;
};

}  // namespace tarnwell
