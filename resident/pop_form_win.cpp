#include "resident/pop_form_win.h"

#include "app/control_table.h"
#include "res/resource_ids.h"
#include "ui/bitmap_region.h"
#include "ui/control_factory.h"
#include "ui/jpeg_bitmap.h"

namespace tarnwell {

namespace {

constexpr DWORD kStyle = WS_POPUP;  // no frame: the client area is the window
constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;  // no taskbar button
constexpr COLORREF kTextColour = RGB(0x1F, 0x4E, 0x79);

// The metrics of the desktop spanning every monitor, which Windows 95 and
// NT 4 do not know (they answer 0 and have one monitor).
constexpr int kXVirtualScreen = 76, kYVirtualScreen = 77, kCxVirtualScreen = 78, kCyVirtualScreen = 79;

RECT VirtualDesktop() {
    const int width = ::GetSystemMetrics(kCxVirtualScreen), height = ::GetSystemMetrics(kCyVirtualScreen);
    if (width <= 0 || height <= 0) return RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    const int left = ::GetSystemMetrics(kXVirtualScreen), top = ::GetSystemMetrics(kYVirtualScreen);
    return RECT{left, top, left + width, top + height};
}

}  // namespace

TPopForm::~TPopForm() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

bool TPopForm::Create(HFONT font, HFONT boldFont) {
    const ControlDecl& image = *FindControl(ctl::BGImage);
    const FormLook look{kClassName, "Tarnwell", kStyle, kExStyle, image.w, image.h, nullptr};
    CreateForm(look, FormWindowProc<TPopForm>, nullptr, this);
    if (!hwnd_) return false;
    picture_ = LoadJpegResource(IDR_NOTICE);
    for (int id : {ctl::CaptionLBL, ctl::BodyLBL}) {
        const ControlFonts fonts{id == ctl::CaptionLBL ? boldFont : font, boldFont};
        if (auto label = CreateControl(*FindControl(id), ValueRange{}, hwnd_, fonts)) controls_.Add(std::move(label));
    }
    // The window owns the region from here on.
    GdiRegion shape = RegionFromPicture(picture_.get());
    if (shape && ::SetWindowRgn(hwnd_, shape.get(), FALSE))
        shape.release();
    else
        ::OutputDebugStringA("Tarnwell: the notice window could not take the shape of its picture");
    return true;
}

void TPopForm::ShowNotice(const NoticeText& notice) {
    if (!hwnd_) return;
    controls_.Get<TLabel>(ctl::CaptionLBL).SetText(notice.title);
    controls_.Get<TLabel>(ctl::BodyLBL).SetText(notice.text);
    const RECT desktop = VirtualDesktop();
    const ControlDecl& image = *FindControl(ctl::BGImage);
    const NoticeOrigin at = NoticePlacement(desktop.right, desktop.bottom, image.w, image.h);
    ::SetTimer(hwnd_, kPostTimer, kPostTimerInterval, nullptr);
    postTimerRunning_ = true;
    // In front of every other window, but the user's typing stays where it is.
    ::SetWindowPos(hwnd_, HWND_TOPMOST, at.left, at.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    // The labels draw on the picture without a background of their own:
    // a new text needs the picture under the old one drawn again.
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TPopForm::PostTimerTimer() {
    ::KillTimer(hwnd_, kPostTimer);
    postTimerRunning_ = false;
    ::ShowWindow(hwnd_, SW_HIDE);
}

// The labels let clicks through to the window, so a click on them is one
// on the picture.
void TPopForm::PictureClick() {
    if (postTimerRunning_) PostTimerTimer();
}

void TPopForm::PaintPicture(HDC dc) const {
    HDC source = ::CreateCompatibleDC(dc);
    if (!source) return;
    HGDIOBJ previous = ::SelectObject(source, picture_.get());
    const ControlDecl& image = *FindControl(ctl::BGImage);
    ::BitBlt(dc, image.x, image.y, image.w, image.h, source, 0, 0, SRCCOPY);
    ::SelectObject(source, previous);
    ::DeleteDC(source);
}

LRESULT TPopForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            if (!picture_) break;
            PaintPicture(reinterpret_cast<HDC>(wParam));
            return 1;
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(dc, kTextColour);
            return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
        }
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        case WM_LBUTTONDOWN: PictureClick(); return 0;
        case WM_TIMER:
            if (wParam == kPostTimer) PostTimerTimer();
            return 0;
        case WM_DESTROY:
            ::KillTimer(hwnd_, kPostTimer);
            DetachForm(hwnd_);
            hwnd_ = nullptr;
            return 0;
        default: break;
    }
    return ::DefWindowProcA(hwnd_, message, wParam, lParam);
}

}  // namespace tarnwell
