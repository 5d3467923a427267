#include "ui/control_factory.h"

#include <string>

#include "base/setting_value.h"

namespace tarnwell {

namespace {

struct NativeClass {
    const char* className;
    DWORD style;
    DWORD exStyle;
};

NativeClass NativeClassOf(const ControlDecl& decl) {
    const bool readOnly = decl.flags & F_READONLY;
    switch (decl.kind) {
        case ControlKind::GroupBox: return {"BUTTON", BS_GROUPBOX, 0};
        case ControlKind::Label: return {"STATIC", SS_LEFT, 0};
        // Notifying, so that it answers a double click and a right click.
        case ControlKind::RiskLabel: return {"STATIC", SS_LEFT | SS_NOTIFY, 0};
        case ControlKind::CheckBox: return {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
        case ControlKind::Button:
            return {"BUTTON", static_cast<DWORD>(((decl.flags & F_DEFAULT) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP), 0};
        case ControlKind::Edit:
        case ControlKind::FolderEdit:
            return {"EDIT", ES_AUTOHSCROLL | WS_TABSTOP | (readOnly ? ES_READONLY : 0u), WS_EX_CLIENTEDGE};
        case ControlKind::SpinEdit: return {"EDIT", ES_NUMBER | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::TrackBar: return {TRACKBAR_CLASSA, TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, 0};
        case ControlKind::HotKey: return {HOTKEY_CLASSA, WS_TABSTOP, 0};
        case ControlKind::ComboBox: return {"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
        case ControlKind::ListBox:
            return {"LISTBOX",
                    LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_USETABSTOPS | WS_VSCROLL | WS_TABSTOP |
                        ((decl.flags & F_SORTED) ? LBS_SORT : 0u) | ((decl.flags & F_MULTISELECT) ? LBS_EXTENDEDSEL : 0u),
                    WS_EX_CLIENTEDGE};
        case ControlKind::CheckListBox:
            // Drawn by the program (no border), rows of equal height.
            return {"LISTBOX",
                    LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                    0};
        default: return {nullptr, 0, 0};
    }
}

HWND CreateNative(const ControlDecl& decl, const NativeClass& native, HWND parent, const char* text) {
    const DWORD visible = ((decl.flags & F_HIDDEN) ? 0 : WS_VISIBLE) | ((decl.flags & F_DISABLED) ? WS_DISABLED : 0);
    return ::CreateWindowExA(native.exStyle, native.className, text, WS_CHILD | visible | native.style, decl.x,
                             decl.y, decl.w, decl.h, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(decl.id)), ::GetModuleHandleA(nullptr),
                             nullptr);
}

std::unique_ptr<TControl> Wrap(const ControlDecl& decl, ValueRange range, HWND hwnd, HWND parent) {
    switch (decl.kind) {
        case ControlKind::CheckBox: {
            auto box = std::make_unique<TCheckBox>(hwnd, decl.id);
            // The built-in default is the state before any handler exists.
            ::SendMessageA(hwnd, BM_SETCHECK, decl.initial == "True" ? BST_CHECKED : BST_UNCHECKED, 0);
            return box;
        }
        case ControlKind::Button: return std::make_unique<TButton>(hwnd, decl.id);
        case ControlKind::Edit:
        case ControlKind::FolderEdit: return std::make_unique<TEdit>(hwnd, decl.id);
        case ControlKind::SpinEdit: {
            HWND upDown = ::CreateWindowExA(
                0, UPDOWN_CLASSA, nullptr,
                WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, 0, 0, 0,
                parent, nullptr, ::GetModuleHandleA(nullptr), nullptr);
            ::SendMessageA(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(hwnd), 0);
            ::SendMessageA(hwnd, EM_LIMITTEXT, 2, 0);
            auto spin = std::make_unique<TSpinEdit>(hwnd, upDown, decl.id, range.min, range.max);
            spin->SetValue(ParseInt(decl.initial));
            return spin;
        }
        case ControlKind::TrackBar: {
            auto bar = std::make_unique<TTrackBar>(hwnd, decl.id, range.min, range.max);
            ::SendMessageA(hwnd, TBM_SETTICFREQ, 10, 0);
            return bar;
        }
        case ControlKind::HotKey: {
            auto key = std::make_unique<THotKey>(hwnd, decl.id);
            key->SetHotKey(ParseInt(decl.initial));
            return key;
        }
        case ControlKind::ComboBox: return std::make_unique<TComboBox>(hwnd, decl.id);
        case ControlKind::ListBox: return std::make_unique<TListBox>(hwnd, decl.id);
        case ControlKind::CheckListBox: return std::make_unique<TCheckListBox>(hwnd, decl.id);
        case ControlKind::GroupBox: return std::make_unique<TGroupBox>(hwnd, decl.id);
        case ControlKind::RiskLabel: return std::make_unique<TRiskLabel>(hwnd, decl.id);
        default: return std::make_unique<TLabel>(hwnd, decl.id);
    }
}

}  // namespace

std::unique_ptr<TControl> CreateControl(const ControlDecl& decl, ValueRange range, HWND parent,
                                        const ControlFonts& fonts) {
    const NativeClass native = NativeClassOf(decl);
    if (!native.className) return nullptr;
    const std::string text(decl.kind == ControlKind::SpinEdit ? std::string_view() : decl.caption);
    HWND hwnd = CreateNative(decl, native, parent, text.c_str());
    if (!hwnd) return nullptr;
    HFONT font = (decl.flags & F_BOLD) ? fonts.bold : fonts.normal;
    ::SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return Wrap(decl, range, hwnd, parent);
}

}  // namespace tarnwell
