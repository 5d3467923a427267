#include "resident/popup_list_form_win.h"

#include "app/control_table.h"
#include "base/setting_value.h"
#include "resident/popup_lists.h"
#include "ui/control_factory.h"
#include "ui/text_file.h"

namespace tarnwell {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr const char* kLevelKey = "Software\\Tarnwell";
constexpr int kEditLimit = 256;

const char* const kLevels[] = {
    "High: Kill all popups (CTRL or SCROLL LOCK to override).",
    "Medium: Kill most automated popups.",
    "Low: Allow popups from secure sites.",
};

// The text Windows has for `error`, without its line end.
std::string ErrorText(DWORD error) {
    char text[512] = {};
    ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, sizeof text,
                     nullptr);
    std::string message(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message;
}

}  // namespace

TCPForm::TCPForm(HWND owner, std::string programDir, std::function<void()> listsSaved)
    : owner_(owner), programDir_(std::move(programDir)), listsSaved_(std::move(listsSaved)) {}

TCPForm::~TCPForm() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

bool TCPForm::Create(HFONT font, HBITMAP banner) {
    const FormLook look{kClassName, "Tarnwell Popup Allow/Block List", kStyle, kExStyle, 433, 380, nullptr};
    CreateForm(look, FormWindowProc<TCPForm>, owner_, this);
    if (!hwnd_) return false;
    CreateBanner(hwnd_, *FindControl(ctl::CPBanner), banner);
    const ControlFonts fonts{font, font};
    for (const ControlDecl& decl : AllControls())
        if (decl.page == PageId::PopupList)
            if (auto control = CreateControl(decl, RangeOf(decl), hwnd_, fonts)) controls_.Add(std::move(control));
    for (int edit : {ctl::AllowEdit, ctl::DenyEdit})
        ::SendMessageA(controls_.Get<TEdit>(edit).Handle(), EM_LIMITTEXT, kEditLimit, 0);
    auto& level = controls_.Get<TComboBox>(ctl::LVLCBox);
    for (const char* text : kLevels) level.AddItem(text);
    level.SetItemIndex(0);

    controls_.Get<TListBox>(ctl::AllowList).OnClick = [this] {
        ListClick(ctl::AllowList, ctl::AllowEdit, ctl::DenyList, ctl::DenyEdit);
    };
    controls_.Get<TListBox>(ctl::DenyList).OnClick = [this] {
        ListClick(ctl::DenyList, ctl::DenyEdit, ctl::AllowList, ctl::AllowEdit);
    };
    controls_.Get<TButton>(ctl::AddBTN).OnClick = [this] { AddBTNClick(); };
    controls_.Get<TButton>(ctl::ReplaceBTN).OnClick = [this] { ReplaceBTNClick(); };
    controls_.Get<TButton>(ctl::RemoveBTN).OnClick = [this] { RemoveBTNClick(); };
    controls_.Get<TButton>(ctl::DoneBTN).OnClick = [this] { DoneBTNClick(); };
    level.OnChange = [this] { LVLCBoxChange(); };
    FormCreate();
    return true;
}

// The stored level, when there is one; anything unreadable leaves "High".
void TCPForm::FormCreate() {
    RegKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kLevelKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
    char text[16] = {};
    DWORD size = sizeof text - 1;
    if (::RegQueryValueExA(key.get(), "Level", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) !=
        ERROR_SUCCESS)
        return;
    const std::optional<int> level = TryParseInt(text);
    if (level && *level >= 0 && *level < static_cast<int>(std::size(kLevels)))
        controls_.Get<TComboBox>(ctl::LVLCBox).SetItemIndex(*level);
}

void TCPForm::ShowModal() {
    FormShow();
    modal_ = true;
    RunModal(owner_, hwnd_, modal_);
}

// The files, where they exist, replace what the lists hold.
void TCPForm::FormShow() {
    for (const auto& [file, list] : {std::pair{"block.lst", ctl::DenyList}, std::pair{"allow.lst", ctl::AllowList}}) {
        const std::optional<std::string> text = ReadWholeFile(programDir_ + file);
        if (!text) continue;
        auto& box = controls_.Get<TListBox>(list);
        box.Clear();
        for (const std::string& entry : ReadListText(*text)) box.AddItem(entry);
    }
}

// A click on an entry of one list shows it in that list's edit; the other
// list loses its selection and its edit empties.
void TCPForm::ListClick(int listId, int editId, int otherListId, int otherEditId) {
    const auto& list = controls_.Get<TListBox>(listId);
    if (list.ItemCount() == 0 || list.ItemIndex() < 0) return;
    controls_.Get<TEdit>(editId).SetText(list.Item(list.ItemIndex()));
    controls_.Get<TListBox>(otherListId).SelectOnly(-1);
    controls_.Get<TEdit>(otherEditId).SetText("");
}

// The host of what `editId` holds goes to the end of `listId`, unless it
// is empty or there already (letter case ignored).
bool TCPForm::AddTo(int editId, int listId) {
    auto& edit = controls_.Get<TEdit>(editId);
    auto& list = controls_.Get<TListBox>(listId);
    const std::string host = HostFromUrl(edit.Text());
    if (host.empty() || ListHolds(list.Items(), host)) return false;
    list.AddItem(host);
    edit.SetText("");
    ListsChanged = true;
    return true;
}

// One list per click, the allow list first.
void TCPForm::AddBTNClick() {
    if (!controls_.Get<TEdit>(ctl::AllowEdit).Text().empty())
        AddTo(ctl::AllowEdit, ctl::AllowList);
    else if (!controls_.Get<TEdit>(ctl::DenyEdit).Text().empty())
        AddTo(ctl::DenyEdit, ctl::DenyList);
}

void TCPForm::ReplaceIn(int editId, int listId) {
    auto& edit = controls_.Get<TEdit>(editId);
    auto& list = controls_.Get<TListBox>(listId);
    const std::string host = HostFromUrl(edit.Text());
    const int selected = list.ItemIndex();
    if (ListHolds(list.Items(), host) || selected < 0 || host.empty()) return;
    list.DeleteItem(selected);
    list.InsertItem(selected, host);
    list.SelectOnly(selected);
    edit.SetText("");
    ListsChanged = true;
}

void TCPForm::ReplaceBTNClick() {
    if (!controls_.Get<TEdit>(ctl::AllowEdit).Text().empty())
        ReplaceIn(ctl::AllowEdit, ctl::AllowList);
    else if (!controls_.Get<TEdit>(ctl::DenyEdit).Text().empty())
        ReplaceIn(ctl::DenyEdit, ctl::DenyList);
}

void TCPForm::RemoveBTNClick() {
    for (const auto& [listId, editId] : {std::pair{ctl::AllowList, ctl::AllowEdit}, std::pair{ctl::DenyList, ctl::DenyEdit}}) {
        auto& list = controls_.Get<TListBox>(listId);
        const int selected = list.ItemIndex();
        if (selected < 0) continue;
        list.DeleteItem(selected);
        controls_.Get<TEdit>(editId).SetText("");
        ListsChanged = true;
    }
}

void TCPForm::LVLCBoxChange() {
    RegKey key;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kLevelKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) ==
        ERROR_SUCCESS) {
        const std::string level = IntText(controls_.Get<TComboBox>(ctl::LVLCBox).ItemIndex());
        ::RegSetValueExA(key.get(), "Level", 0, REG_SZ, reinterpret_cast<const BYTE*>(level.c_str()),
                         static_cast<DWORD>(level.size() + 1));
    }
    ListsChanged = true;
}

// Both files, whichever list changed. A file that cannot be written is
// reported and stops the save: the dialog stays open with its changes.
bool TCPForm::SaveLists() {
    for (const auto& [file, list] : {std::pair{"allow.lst", ctl::AllowList}, std::pair{"block.lst", ctl::DenyList}}) {
        const std::string path = programDir_ + file;
        const DWORD error = WriteWholeFile(path, ListFileText(controls_.Get<TListBox>(list).Items()));
        if (error == ERROR_SUCCESS) continue;
        const std::string message = "Cannot create file \"" + path + "\". " + ErrorText(error);
        ::MessageBoxA(hwnd_, message.c_str(), "Error", MB_OK | MB_ICONERROR);
        return false;
    }
    return true;
}

void TCPForm::DoneBTNClick() {
    if (ListsChanged) {
        if (!SaveLists()) return;
        if (listsSaved_) listsSaved_();
        ListsChanged = false;
        ::MessageBoxA(hwnd_, "Close and re-open Internet Explorer for changes to take effect.", "Tarnwell", MB_OK);
    }
    Close();
}

LRESULT TCPForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:  // the close box saves nothing
            Close();
            return 0;
        case WM_COMMAND:
            if (lParam) controls_.RouteCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_DESTROY:
            DetachForm(hwnd_);
            hwnd_ = nullptr;
            return 0;
        default: return ::DefWindowProcA(hwnd_, message, wParam, lParam);
    }
}

}  // namespace tarnwell
