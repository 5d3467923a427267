#include "app/details_form_win.h"

#include <string>
#include <vector>

#include "app/control_table.h"
#include "ui/clipboard.h"
#include "ui/control_factory.h"
#include "ui/control_set.h"
#include "ui/form.h"
#include "ui/hints.h"
#include "ui/save_dialog.h"
#include "ui/text_file.h"

namespace tarnwell {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_TOPMOST;
constexpr int kClientWidth = 520, kClientHeight = 404;

// A listed entry: name, folder, and its size in bytes or what it is.
std::string ListLine(const Finding& finding, bool withRemark) {
    std::string line = finding.name + "\t" + finding.folder + "\t";
    if (withRemark) return line + finding.remark;
    if (finding.size >= 0) return line + std::to_string(finding.size);
    switch (finding.kind) {
        case FindingKind::Folder: return line + "(folder)";
        case FindingKind::RegistryValue: return line + "(registry value)";
        case FindingKind::RegistryKey: return line + "(registry key)";
        case FindingKind::File: break;
    }
    return line;
}

// The average character width of the list's font, in pixels, measured as
// the system measures it for the list's tab stops.
int AverageCharWidth(HWND list) {
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    HDC dc = ::GetDC(list);
    if (!dc) return 6;
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(list, WM_GETFONT, 0, 0)));
    RECT extent{0, 0, 0, 0};
    ::DrawTextA(dc, kAlphabet, 52, &extent, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc, old);
    ::ReleaseDC(list, dc);
    const int width = (extent.right - extent.left + 26) / 52;
    return width > 0 ? width : 6;
}

// Tab stops under the columns' header buttons, in quarters of the list
// font's average character width.
void AlignColumns(const TListBox& list, const TControlSet& controls) {
    RECT listBounds;
    ::GetWindowRect(list.Handle(), &listBounds);
    const int unit = AverageCharWidth(list.Handle());
    std::vector<INT> stops;
    for (int header : {ctl::DetailsFolderBTN, ctl::DetailsSizeBTN}) {
        RECT bounds;
        ::GetWindowRect(controls.Find(header)->Handle(), &bounds);
        stops.push_back(static_cast<INT>((bounds.left - listBounds.left) * 4 / unit));
    }
    ::SendMessageA(list.Handle(), LB_SETTABSTOPS, stops.size(), reinterpret_cast<LPARAM>(stops.data()));
}

class TDetailsForm {
public:
    TDetailsForm(HWND owner, const ItemReport& report) : owner_(owner), report_(report) {}
    ~TDetailsForm() {
        if (hwnd_) ::DestroyWindow(hwnd_);
    }
    TDetailsForm(const TDetailsForm&) = delete;
    TDetailsForm& operator=(const TDetailsForm&) = delete;

    bool Create(HFONT font);
    void ShowModal();

private:
    friend LRESULT CALLBACK FormWindowProc<TDetailsForm>(HWND, UINT, WPARAM, LPARAM);
    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void ShowReport();
    void FillList();
    void SortBy(FindingOrder order);
    void CopyBTNClick();
    void SaveBTNClick();
    void FormClose();
    TListBox& List(int id) const { return controls_.Get<TListBox>(id); }

    HWND owner_;
    ItemReport report_;
    HWND hwnd_ = nullptr;
    TControlSet controls_;
    THints hints_;
    HFONT boldFont_ = nullptr;
    bool modal_ = false;
    FindingOrder order_ = FindingOrder::Folder;
    bool ascending_ = true;
};

bool TDetailsForm::Create(HFONT font) {
    const FormLook look{kDetailsFormClass, "Item Details", kStyle, kExStyle, kClientWidth, kClientHeight, nullptr};
    CreateForm(look, FormWindowProc<TDetailsForm>, owner_, this);
    if (!hwnd_) return false;
    hints_.Create(hwnd_);
    LOGFONTA bold{};
    if (font && ::GetObjectA(font, sizeof bold, &bold)) {
        bold.lfWeight = FW_BOLD;
        boldFont_ = ::CreateFontIndirectA(&bold);
    }
    const ControlFonts fonts{font, boldFont_ ? boldFont_ : font};
    for (const ControlDecl& decl : AllControls()) {
        if (decl.page != PageId::Details) continue;
        auto control = CreateControl(decl, RangeOf(decl), hwnd_, fonts);
        if (!control) continue;
        hints_.Add(control->Handle(), decl.hint);
        controls_.Add(std::move(control));
    }
    controls_.Get<TButton>(ctl::DetailsNameBTN).OnClick = [this] { SortBy(FindingOrder::Name); };
    controls_.Get<TButton>(ctl::DetailsFolderBTN).OnClick = [this] { SortBy(FindingOrder::Folder); };
    controls_.Get<TButton>(ctl::DetailsSizeBTN).OnClick = [this] { SortBy(FindingOrder::Size); };
    controls_.Get<TButton>(ctl::DetailsCopyBTN).OnClick = [this] { CopyBTNClick(); };
    controls_.Get<TButton>(ctl::DetailsSaveBTN).OnClick = [this] { SaveBTNClick(); };
    controls_.Get<TButton>(ctl::DetailsCloseBTN).OnClick = [this] { FormClose(); };
    AlignColumns(List(ctl::DetailsList), controls_);
    AlignColumns(List(ctl::DetailsStillList), controls_);
    ShowReport();
    return true;
}

void TDetailsForm::ShowModal() {
    modal_ = true;
    RunModal(owner_, hwnd_, modal_);
}

void TDetailsForm::ShowReport() {
    controls_.Get<TLabel>(ctl::DetailsCaptionLBL).SetText(report_.caption);
    auto& run = controls_.Get<TLabel>(ctl::DetailsRunLBL);
    auto& totals = controls_.Get<TLabel>(ctl::DetailsTotalsLBL);
    if (!report_.ran) {
        run.SetText("Not analysed or swept since Tarnwell started.");
        totals.SetText("Click \"Analyze Risk\" to see what a sweep would remove.");
    } else {
        run.SetText(std::string(report_.swept ? "Swept " : "Analysed ") + report_.when + ": " + report_.label);
        std::string text = report_.summary.empty() ? "Found: " + TotalsText(report_.found) : report_.summary;
        if (report_.checked) text += "\r\nReceipt: " + ReceiptText(report_);
        totals.SetText(text);
    }
    const bool receipt = report_.checked;
    controls_.Get<TLabel>(ctl::DetailsStillLBL)
        .SetText(receipt ? (report_.stillThere.Count() == 0 ? "Nothing is still there."
                                                            : "Still there after the sweep, and why:")
                         : "");
    auto& still = List(ctl::DetailsStillList);
    still.Clear();
    for (const Finding& finding : report_.stillThere.Entries()) still.AddItem(ListLine(finding, true));
    if (report_.stillThere.Beyond() > 0)
        still.AddItem("... and " + std::to_string(report_.stillThere.Beyond()) + " more, not listed");
    FillList();
}

void TDetailsForm::FillList() {
    TListBox& list = List(ctl::DetailsList);
    ::SendMessageA(list.Handle(), WM_SETREDRAW, FALSE, 0);
    list.Clear();
    for (const Finding& finding : SortedFindings(report_.found.Entries(), order_, ascending_))
        list.AddItem(ListLine(finding, false));
    if (report_.found.Beyond() > 0)
        list.AddItem("... and " + std::to_string(report_.found.Beyond()) + " more, not listed");
    ::SendMessageA(list.Handle(), WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list.Handle(), nullptr, TRUE);
}

// A second click on the same column turns the order round.
void TDetailsForm::SortBy(FindingOrder order) {
    ascending_ = order == order_ ? !ascending_ : true;
    order_ = order;
    FillList();
}

void TDetailsForm::CopyBTNClick() {
    if (!CopyTextToClipboard(hwnd_, ReportText(report_, order_, ascending_)))
        ::MessageBoxA(hwnd_, "The list could not be put on the clipboard.", "Item Details", MB_OK | MB_ICONWARNING);
}

void TDetailsForm::SaveBTNClick() {
    static const char kFilter[] = "Text files (*.txt)\0*.txt\0All Files (*.*)\0*.*\0";
    const std::optional<SaveChoice> choice = AskSaveFileName(hwnd_, kFilter, "Tarnwell details.txt", "txt");
    if (!choice) return;
    const std::string& file = choice->file;
    const unsigned long error = WriteWholeFile(file, ReportText(report_, order_, ascending_));
    if (error != ERROR_SUCCESS)
        ::MessageBoxA(hwnd_, ("The list could not be saved to " + file + " (error " +
                              std::to_string(error) + ").")
                                 .c_str(),
                      "Item Details", MB_OK | MB_ICONWARNING);
}

void TDetailsForm::FormClose() {
    modal_ = false;
    ::PostMessageA(hwnd_, WM_NULL, 0, 0);
}

LRESULT TDetailsForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            FormClose();
            return 0;
        case DM_GETDEFID: return MAKELRESULT(ctl::DetailsCloseBTN, DC_HASDEFID);
        case WM_COMMAND:
            if (lParam) controls_.RouteCommand(LOWORD(wParam), HIWORD(wParam));
            else if (LOWORD(wParam) == IDCANCEL) FormClose();  // Esc
            return 0;
        case WM_DESTROY:
            if (boldFont_) ::DeleteObject(boldFont_);
            boldFont_ = nullptr;
            DetachForm(hwnd_);
            hwnd_ = nullptr;
            return 0;
        default: return ::DefWindowProcA(hwnd_, message, wParam, lParam);
    }
}

}  // namespace

void ShowItemDetails(HWND owner, HFONT font, const ItemReport& report) {
    TDetailsForm form(owner, report);
    if (form.Create(font)) form.ShowModal();
}

}  // namespace tarnwell
