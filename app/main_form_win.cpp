#include "app/main_form.h"

#include "app/application.h"
#include "res/resource_ids.h"
#include "ui/control_factory.h"
#include "ui/form.h"
#include "ui/jpeg_bitmap.h"

namespace tarnwell {

namespace {

constexpr const char* kMainFormClass = "TMainForm";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_CONTROLPARENT;

GdiFont MakeFont(int weight) {
    return GdiFont(::CreateFontA(-11, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Tahoma"));
}

}  // namespace

TMainForm::TMainForm(TApplication& application, std::string firstArgument)
    : application_(application),
      firstArgument_(std::move(firstArgument)),
      formStorage_([this](int id) { return controls_.Find(id); }) {}

TMainForm::~TMainForm() {
    trayIcon_.reset();
    if (hwnd_) ::DestroyWindow(hwnd_);
}

bool TMainForm::Create() {
    if (!CreateMainWindow()) return false;
    HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TARNWELL));
    trayIcon_ = std::make_unique<TTrayIcon>(hwnd_, icon ? icon : ::LoadIconA(nullptr, IDI_APPLICATION), "Tarnwell!");
    CreateControls();
    CreateCategories();
    WireEvents();
    xJustOne_.AlreadyExist = [this] { XJustOneAlreadyExist(); };
    // A second copy only wakes the first and ends: every step of FormCreate
    // either changes something outside the process (the Run value, the tray,
    // the popup library, the service, what restored check boxes do) or
    // prepares a window that is never shown.
    if (!xJustOne_.Check(application_)) return true;
    FormCreate();
    CreateSecondaryWindows();
    return true;
}

bool TMainForm::CreateMainWindow() {
    const FormLook look{kMainFormClass, kMainCaption, kStyle, kExStyle, kClientWidth, kClientHeight,
                        ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TARNWELL))};
    CreateForm(look, FormWindowProc<TMainForm>, application_.Handle(), this);
    application_.DialogWindow = hwnd_;
    return hwnd_ != nullptr;
}

void TMainForm::CreateControls() {
    font_ = MakeFont(FW_NORMAL);
    boldFont_ = MakeFont(FW_BOLD);
    const ControlFonts fonts{font_.get(), boldFont_.get()};
    hints_.Create(hwnd_);

    banner_ = LoadJpegResource(IDR_BANNER);
    CreateBanner(hwnd_, *FindControl(ctl::Banner), banner_.get());
    const std::vector<HWND> pages = CreatePages(pageControl_, hwnd_, *FindControl(ctl::PageControl), AllControls(),
                                                PageId::Main, controls_, font_.get());

    for (const ControlDecl& decl : AllControls()) {
        const auto page = static_cast<std::size_t>(decl.page);
        if (page >= pages.size()) continue;  // not on a tab of this window
        auto control = CreateControl(decl, RangeOf(decl), pages[page], fonts);
        if (!control) continue;
        hints_.Add(control->Handle(), decl.hint);
        controls_.Add(std::move(control));
    }
}

// Created once, right after the main window, and kept until the end: the
// keep lists of the Cookie Keeper and the popup lists live in list boxes.
// The notice window exists only where balloon tips do not. The locate
// dialog is made anew each time it is opened.
void TMainForm::CreateSecondaryWindows() {
    CookieKeepSources sources;
    sources.programDir = ProgramDir;
    sources.locations = &locations_;
    sources.banner = banner_.get();
    if (!settingsUnreadable_) sources.settings = startSettings_;
    sources.fireFoxProfile = [this] { return fireFox_->ProfilePath(); };
    sources.netscapeProfile = [this] { return netscape_->ProfilePath(); };
    cookieKeep_ = std::make_unique<TCookieKeep>(hwnd_, sources);
    cookieKeep_->Create(font_.get());
    cpForm_ = std::make_unique<TCPForm>(hwnd_, ProgramDir, [this] { PopupListsSaved(); });
    cpForm_->Create(font_.get(), banner_.get());
    if (os_.IsOldShell) {
        popForm_ = std::make_unique<TPopForm>();
        popForm_->Create(font_.get(), boldFont_.get());
    }
}

void TMainForm::Show() {
    ::ShowWindow(hwnd_, SW_SHOW);
    FormShow();
}

void TMainForm::Hide() { ::ShowWindow(hwnd_, SW_HIDE); }

LRESULT TMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            FormCloseQuery();
            return 0;
        case WM_QUERYENDSESSION:
            return QueryEndSession();
        case WM_DESTROY:
            FormDestroy();
            // Removed while its window still exists, or Wine's shell waits
            // on the dead window at exit.
            trayIcon_.reset();
            DetachForm(hwnd_);
            hwnd_ = nullptr;
            ::PostQuitMessage(0);
            return 0;
        case WM_NOTIFY:
            RoutePageChange(pageControl_, lParam);
            return 0;
        case WM_COMMAND:
            // Commands of the tray menu (controls report to their pages).
            if (lParam == 0 && HIWORD(wParam) == 0) popupMenu_.HandleCommand(LOWORD(wParam));
            return 0;
        case TTrayIcon::kCallbackMessage:
            if (trayIcon_) trayIcon_->HandleCallback(lParam);
            return 0;
        case WM_TIMER:
            if (wParam == kBrowserWatchTimer) TimerTimer();
            if (wParam == kAutoSweepTimer) AutoTimerTimer();
            return 0;
        case WM_HOTKEY:
            HotKeyPressed(wParam);
            return 0;
        case WM_COPYDATA:
            return CopyDataMessage(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case kActivateInstanceMessage:
            // Reaches the window only when a loop other than the main one
            // (a sweep's, a dialog's, a menu's) dispatched it.
            ActivateFromSecondInstance();
            return 0;
        default:
            if (message == TTrayIcon::TaskbarCreatedMessage() && trayIcon_) {
                trayIcon_->ShellRestarted();
                return 0;
            }
            return ::DefWindowProcA(hwnd_, message, wParam, lParam);
    }
}

}  // namespace tarnwell
