#include "categories/aol_locate.h"

#include <new>

#include "app/control_table.h"
#include "app/path_macros.h"
#include "categories/aol_locate_search.h"
#include "ui/control_factory.h"
#include "ui/control_set.h"
#include "ui/form.h"
#include "ui/hints.h"
#include "ui/message_pump.h"

namespace tarnwell {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int kClientWidth = 360, kClientHeight = 286;
// Posted when the dialog is first shown: the search then runs inside the
// modal loop, over a dialog that has already been drawn.
constexpr UINT kFirstShow = WM_APP + 1;

// The locate dialog. Its search runs on the dialog's own thread and lets
// the message queue run between entries, so the dialog is drawn and
// answers its buttons meanwhile; any way of closing it stops the search
// first, and the window goes away only after the search has returned.
class TFindForm {
public:
    static constexpr const char* kClassName = "TFindForm";

    explicit TFindForm(HWND owner) : owner_(owner) {}
    ~TFindForm() {
        if (hwnd_) ::DestroyWindow(hwnd_);
    }
    TFindForm(const TFindForm&) = delete;
    TFindForm& operator=(const TFindForm&) = delete;

    bool Create(HFONT font);
    std::optional<std::string> ShowModal(const std::string& startFolder, const std::string& pattern);

private:
    friend LRESULT CALLBACK FormWindowProc<TFindForm>(HWND, UINT, WPARAM, LPARAM);
    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void FormCreate() { firstShow_ = true; }
    void FormShow();
    void SearchBTNClick();
    void RunSearch();
    bool KeepSearching();
    void SetSearching(bool searching);
    void SaveBTNClick();
    void CloseBTNClick() { FormClose(); }
    void FormClose();
    TListBox& PathBox() const { return controls_.Get<TListBox>(ctl::PathBox); }

    HWND owner_;
    HWND hwnd_ = nullptr;
    TControlSet controls_;
    THints hints_;
    bool modal_ = false;
    bool firstShow_ = false;
    bool searching_ = false;
    bool stopSearch_ = false;
    std::optional<std::string> saved_;
};

bool TFindForm::Create(HFONT font) {
    const FormLook look{kClassName, "Tarnwell Locate Directory", kStyle, kExStyle, kClientWidth, kClientHeight,
                        nullptr};
    CreateForm(look, FormWindowProc<TFindForm>, owner_, this);
    if (!hwnd_) return false;
    hints_.Create(hwnd_);
    const ControlFonts fonts{font, font};
    for (const ControlDecl& decl : AllControls()) {
        if (decl.page != PageId::Locate) continue;
        auto control = CreateControl(decl, RangeOf(decl), hwnd_, fonts);
        if (!control) continue;
        hints_.Add(control->Handle(), decl.hint);
        controls_.Add(std::move(control));
    }
    controls_.Get<TButton>(ctl::SearchBTN).OnClick = [this] { SearchBTNClick(); };
    controls_.Get<TButton>(ctl::SaveBTN).OnClick = [this] { SaveBTNClick(); };
    controls_.Get<TButton>(ctl::FindCloseBTN).OnClick = [this] { CloseBTNClick(); };
    FormCreate();
    return true;
}

std::optional<std::string> TFindForm::ShowModal(const std::string& startFolder, const std::string& pattern) {
    controls_.Get<TEdit>(ctl::PathEdit).SetText(startFolder);
    controls_.Get<TEdit>(ctl::NameEdit).SetText(pattern);
    FormShow();
    modal_ = true;
    RunModal(owner_, hwnd_, modal_);
    return saved_;
}

void TFindForm::FormShow() {
    if (!firstShow_) return;
    firstShow_ = false;
    ::PostMessageA(hwnd_, kFirstShow, 0, 0);
}

void TFindForm::SearchBTNClick() {
    if (searching_) return;
    SetSearching(true);
    PathBox().Clear();
    controls_.Get<TLabel>(ctl::FoundLabel).SetText("Finding potential directories...");
    // Shows the cleared list and the new label before the first listing.
    if (KeepSearching()) RunSearch();
    controls_.Get<TLabel>(ctl::FoundLabel).SetText(std::to_string(PathBox().ItemCount()) + " directories found.");
    SetSearching(false);
}

// Each match is selected as it is added, so the last one stays selected.
void TFindForm::RunSearch() {
    TListBox& box = PathBox();
    FolderSearchEvents events;
    events.found = [&box](const std::string& folder) {
        box.AddItem(folder);
        box.SelectOnly(box.ItemCount() - 1);
    };
    events.keepGoing = [this] { return KeepSearching(); };
    try {
        SearchFolders(controls_.Get<TEdit>(ctl::PathEdit).Text(), controls_.Get<TEdit>(ctl::NameEdit).Text(),
                      events);
    } catch (const std::bad_alloc&) {
        // Memory ran out on a huge drive: what was found so far stays
        // listed; nothing crosses the window procedure.
    }
}

// Runs the queue once; false when the dialog is closing or the program
// ending (its quit message waits for the main loop).
bool TFindForm::KeepSearching() {
    ProcessMessages();
    MSG quit;
    if (::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) stopSearch_ = true;
    return !stopSearch_;
}

// Search and Save are off while a search runs; a focused Search button
// hands the focus to the list, so the keyboard keeps working.
void TFindForm::SetSearching(bool searching) {
    searching_ = searching;
    stopSearch_ = false;
    auto& search = controls_.Get<TButton>(ctl::SearchBTN);
    const bool focused = (::SendMessageA(search.Handle(), BM_GETSTATE, 0, 0) & BST_FOCUS) != 0;
    if (searching && focused) ::SetFocus(PathBox().Handle());
    search.SetEnabled(!searching);
    controls_.Get<TButton>(ctl::SaveBTN).SetEnabled(!searching);
}

void TFindForm::SaveBTNClick() {
    if (searching_) return;
    const int selected = PathBox().ItemIndex();
    if (selected >= 0) saved_ = WithTrailingBackslash(PathBox().Item(selected));
    FormClose();
}

// The search, if one runs, ends at its next pause; the modal loop ends
// once the search has returned.
void TFindForm::FormClose() {
    if (searching_) stopSearch_ = true;
    modal_ = false;
    ::PostMessageA(hwnd_, WM_NULL, 0, 0);
}

LRESULT TFindForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kFirstShow:
            SearchBTNClick();
            return 0;
        case WM_CLOSE:
            FormClose();
            return 0;
        case DM_GETDEFID:  // Enter saves, as the default button says
            return MAKELRESULT(ctl::SaveBTN, DC_HASDEFID);
        case WM_COMMAND:
            if (lParam) controls_.RouteCommand(LOWORD(wParam), HIWORD(wParam));
            else if (LOWORD(wParam) == IDCANCEL) FormClose();  // Esc
            return 0;
        case WM_DESTROY:
            DetachForm(hwnd_);
            hwnd_ = nullptr;
            return 0;
        default: return ::DefWindowProcA(hwnd_, message, wParam, lParam);
    }
}

}  // namespace

std::optional<std::string> LocateDirectory(HWND owner, HFONT font, const std::string& startFolder,
                                           const std::string& pattern) {
    TFindForm form(owner);
    if (!form.Create(font)) return std::nullopt;
    return form.ShowModal(startFolder, pattern);
}

}  // namespace tarnwell
