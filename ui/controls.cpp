#include "ui/controls.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "base/setting_value.h"
#include "ui/control_set.h"

namespace tarnwell {

std::string TControl::Text() const {
    const int length = ::GetWindowTextLengthA(hwnd_);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(hwnd_, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

void TControl::SetText(std::string_view text) { ::SetWindowTextA(hwnd_, std::string(text).c_str()); }

void TButton::HandleCommand(int code) {
    if (code == BN_CLICKED && OnClick) OnClick();
}

bool TCheckBox::Checked() const { return ::SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TCheckBox::SetChecked(bool checked) {
    if (checked == Checked()) return;
    ::SendMessageA(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (OnClick) OnClick();
}

std::string TCheckBox::PropertyText() const { return BoolText(Checked()); }

void TCheckBox::SetPropertyText(std::string_view text) {
    if (auto value = ParseBool(text)) SetChecked(*value);
}

void TCheckBox::HandleCommand(int code) {
    // The box toggles itself (BS_AUTOCHECKBOX) before the parent is told.
    if (code == BN_CLICKED && OnClick) OnClick();
}

std::string TEdit::PropertyText() const { return TrimBlanks(Text()); }

void TEdit::SetPropertyText(std::string_view text) { SetText(TrimBlanks(text)); }

void TRiskLabel::HandleCommand(int code) {
    if (code == STN_DBLCLK && OnDetails) OnDetails();
}

bool TRiskLabel::HandleContextMenu(POINT at) {
    if (!OnDetails) return false;
    // From the keyboard the point is (-1, -1): the menu opens at the label.
    if (at.x == -1 && at.y == -1) {
        RECT bounds;
        ::GetWindowRect(hwnd_, &bounds);
        at = {bounds.left, bounds.bottom};
    }
    HMENU menu = ::CreatePopupMenu();
    if (!menu) return false;
    constexpr UINT kDetails = 1;
    ::AppendMenuA(menu, MF_STRING, kDetails, "&Details...");
    const UINT chosen = static_cast<UINT>(
        ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, hwnd_, nullptr));
    ::DestroyMenu(menu);
    if (chosen == kDetails) OnDetails();
    return true;
}

void TEdit::HandleCommand(int code) {
    // WM_SETTEXT already produces EN_CHANGE, so code and user edits arrive here alike.
    if (code == EN_CHANGE && OnChange) OnChange();
}

TSpinEdit::TSpinEdit(HWND edit, HWND upDown, int id, int minValue, int maxValue)
    : TControl(edit, id), upDown_(upDown), min_(minValue), max_(maxValue), held_(minValue) {
    ::SendMessageA(upDown_, UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    // Typed characters are filtered before the edit sees them.
    ::SetPropA(hwnd_, "TSpinEdit", this);
    editProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TSpinEdit::EditProc)));
}

LRESULT CALLBACK TSpinEdit::EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* spin = static_cast<TSpinEdit*>(::GetPropA(hwnd, "TSpinEdit"));
    if (message == WM_CHAR && !SpinEditAcceptsKey(spin->Text(), static_cast<char>(wParam))) return 0;
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(spin->editProc_));
        ::RemovePropA(hwnd, "TSpinEdit");
    }
    return ::CallWindowProcA(spin->editProc_, hwnd, message, wParam, lParam);
}

int TSpinEdit::Value() const {
    const std::optional<int> typed = TryParseInt(Text());
    return typed ? std::clamp(*typed, min_, max_) : held_;
}

void TSpinEdit::SetValue(int value) {
    value = std::clamp(value, min_, max_);
    held_ = value;
    // The buddy edit gets its text (and sends EN_CHANGE) from the up-down.
    ::SendMessageA(upDown_, UDM_SETPOS32, 0, static_cast<LPARAM>(value));
    const std::string text = std::to_string(value);
    if (Text() != text) SetText(text);
}

std::string TSpinEdit::PropertyText() const { return IntText(Value()); }

// A stored text that is not a number leaves the value as it is.
void TSpinEdit::SetPropertyText(std::string_view text) { SetValue(TryParseInt(text).value_or(Value())); }

void TSpinEdit::HandleCommand(int code) {
    if (code == EN_SETFOCUS) {
        held_ = Value();
    } else if (code == EN_KILLFOCUS) {
        SetValue(Value());
    } else if (code == EN_CHANGE && OnChange) {
        OnChange();
    }
}

TTrackBar::TTrackBar(HWND hwnd, int id, int minValue, int maxValue)
    : TControl(hwnd, id), min_(minValue), max_(maxValue) {
    ::SendMessageA(hwnd_, TBM_SETRANGEMIN, FALSE, min_);
    ::SendMessageA(hwnd_, TBM_SETRANGEMAX, TRUE, max_);
    last_ = Position();
}

int TTrackBar::Position() const { return static_cast<int>(::SendMessageA(hwnd_, TBM_GETPOS, 0, 0)); }

void TTrackBar::SetPosition(int position) {
    position = std::clamp(position, min_, max_);
    ::SendMessageA(hwnd_, TBM_SETPOS, TRUE, position);
    HandleScroll();
}

std::string TTrackBar::PropertyText() const { return IntText(Position()); }

void TTrackBar::SetPropertyText(std::string_view text) { SetPosition(ParseInt(text)); }

void TTrackBar::HandleScroll() {
    const int position = Position();
    if (position == last_) return;
    last_ = position;
    if (OnChange) OnChange();
}

int THotKey::HotKey() const {
    return ShortcutFromHotKeyWord(static_cast<int>(::SendMessageA(hwnd_, HKM_GETHOTKEY, 0, 0)) & 0xFFFF);
}

void THotKey::SetHotKey(int shortcut) {
    ::SendMessageA(hwnd_, HKM_SETHOTKEY, static_cast<WPARAM>(HotKeyWordFromShortcut(shortcut)), 0);
}

std::string THotKey::PropertyText() const { return IntText(HotKey()); }

void THotKey::SetPropertyText(std::string_view text) { SetHotKey(ParseInt(text) & 0xFFFF); }

void THotKey::HandleCommand(int code) {
    if (code == EN_CHANGE && OnChange) OnChange();
}

void TComboBox::Clear() { ::SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0); }

void TComboBox::AddItem(std::string_view text) {
    ::SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::string(text).c_str()));
}

int TComboBox::ItemCount() const { return static_cast<int>(::SendMessageA(hwnd_, CB_GETCOUNT, 0, 0)); }

int TComboBox::ItemIndex() const { return static_cast<int>(::SendMessageA(hwnd_, CB_GETCURSEL, 0, 0)); }

std::string TComboBox::Item(int index) const {
    const LRESULT length = ::SendMessageA(hwnd_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied = ::SendMessageA(hwnd_, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
    return text;
}

void TComboBox::SetItemIndex(int index) { ::SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

std::string TComboBox::PropertyText() const { return IntText(Tag); }

void TComboBox::SetPropertyText(std::string_view text) { Tag = ParseInt(text); }

void TComboBox::HandleCommand(int code) {
    if (code == CBN_SELCHANGE && OnChange) OnChange();
}

void TListBox::Clear() { ::SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0); }

void TListBox::AddItem(std::string_view text) {
    ::SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::string(text).c_str()));
}

int TListBox::ItemCount() const { return static_cast<int>(::SendMessageA(hwnd_, LB_GETCOUNT, 0, 0)); }

std::string TListBox::Item(int index) const {
    const LRESULT length = ::SendMessageA(hwnd_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    ::SendMessageA(hwnd_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

std::vector<std::string> TListBox::Items() const {
    std::vector<std::string> items;
    for (int i = 0; i < ItemCount(); ++i) items.push_back(Item(i));
    return items;
}

void TListBox::DeleteItem(int index) { ::SendMessageA(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(index), 0); }

void TListBox::InsertItem(int index, std::string_view text) {
    ::SendMessageA(hwnd_, LB_INSERTSTRING, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(std::string(text).c_str()));
}

int TListBox::ItemIndex() const { return static_cast<int>(::SendMessageA(hwnd_, LB_GETCURSEL, 0, 0)); }

bool TListBox::Selected(int index) const {
    return ::SendMessageA(hwnd_, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void TListBox::SelectOnly(int index) {
    const LONG style = ::GetWindowLongA(hwnd_, GWL_STYLE);
    if (style & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) {
        ::SendMessageA(hwnd_, LB_SETSEL, FALSE, -1);
        if (index >= 0) ::SendMessageA(hwnd_, LB_SETSEL, TRUE, index);
    } else {
        ::SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void TListBox::SetItem(int index, std::string_view text) {
    const LRESULT data = ::SendMessageA(hwnd_, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    if (data == LB_ERR && index >= ItemCount()) return;
    const int selected = ItemIndex();
    const int top = TopIndex();
    // Redrawing is held back so that the swap of the entry never flickers.
    ::SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
    DeleteItem(index);
    InsertItem(index, text);
    ::SendMessageA(hwnd_, LB_SETITEMDATA, static_cast<WPARAM>(index), data);
    if (selected == index) ::SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SetTopIndex(top);
    ::SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

int TListBox::ItemHeight() const { return static_cast<int>(::SendMessageA(hwnd_, LB_GETITEMHEIGHT, 0, 0)); }

void TListBox::SetItemHeight(int height) { ::SendMessageA(hwnd_, LB_SETITEMHEIGHT, 0, static_cast<LPARAM>(height)); }

int TListBox::TopIndex() const { return static_cast<int>(::SendMessageA(hwnd_, LB_GETTOPINDEX, 0, 0)); }

void TListBox::SetTopIndex(int index) { ::SendMessageA(hwnd_, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0); }

void TListBox::HandleCommand(int code) {
    if (code == LBN_SELCHANGE) {
        if (OnChange) OnChange();
        if (OnClick) OnClick();
    } else if (code == LBN_DBLCLK && OnDblClick) {
        OnDblClick();
    }
}

namespace {
constexpr const char* kListProperty = "TListBox";
}  // namespace

// The subclass is undone at WM_NCDESTROY; a list still subclassed here
// outlives its wrapper and must not call into it any more.
TListBox::~TListBox() {
    if (listProc_) {
        ::SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc_));
        ::RemovePropA(hwnd_, kListProperty);
    }
}

void TListBox::WatchInput() {
    if (listProc_) return;
    ::SetPropA(hwnd_, kListProperty, this);
    listProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TListBox::ListProc)));
}

LRESULT CALLBACK TListBox::ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* list = static_cast<TListBox*>(::GetPropA(hwnd, kListProperty));
    const WNDPROC original = list->listProc_;
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        ::RemovePropA(hwnd, kListProperty);
        list->listProc_ = nullptr;
        return ::CallWindowProcA(original, hwnd, message, wParam, lParam);
    }
    if (list->Intercept(message, wParam, lParam)) return 0;
    const LRESULT result = ::CallWindowProcA(original, hwnd, message, wParam, lParam);
    list->AfterMessage(message, wParam, lParam);
    if (message == WM_KEYDOWN && list->OnKeyPress) list->OnKeyPress();
    if ((message == WM_VSCROLL || message == WM_MOUSEWHEEL) && list->OnScroll) list->OnScroll();
    return result;
}

TCheckListBox::TCheckListBox(HWND hwnd, int id) : TListBox(hwnd, id) {
    // Room for the check box and the text of the list's font.
    SetItemHeight(17);
    WatchInput();
}

LPARAM TCheckListBox::Flags(int index) const {
    const LRESULT data = ::SendMessageA(hwnd_, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    return data == LB_ERR ? 0 : static_cast<LPARAM>(data);
}

void TCheckListBox::SetFlag(int index, LPARAM bit, bool on) {
    if (index < 0 || index >= ItemCount()) return;
    const LPARAM flags = Flags(index);
    const LPARAM changed = on ? (flags | bit) : (flags & ~bit);
    if (changed == flags) return;
    ::SendMessageA(hwnd_, LB_SETITEMDATA, static_cast<WPARAM>(index), changed);
    RECT row;
    if (::SendMessageA(hwnd_, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&row)) != LB_ERR)
        ::InvalidateRect(hwnd_, &row, TRUE);
}

bool TCheckListBox::Checked(int index) const { return (Flags(index) & kCheckedBit) != 0; }

void TCheckListBox::SetChecked(int index, bool checked) { SetFlag(index, kCheckedBit, checked); }

bool TCheckListBox::ItemEnabled(int index) const { return (Flags(index) & kDisabledBit) == 0; }

void TCheckListBox::SetItemEnabled(int index, bool enabled) { SetFlag(index, kDisabledBit, !enabled); }

RECT TCheckListBox::CheckBoxOf(const RECT& row) const {
    constexpr int kSize = 13;
    RECT box;
    box.right = row.right - 2;
    box.left = box.right - kSize;
    box.top = row.top + (row.bottom - row.top - kSize) / 2;
    box.bottom = box.top + kSize;
    return box;
}

bool TCheckListBox::InCheckBox(LPARAM point, int& index) const {
    const LRESULT hit = ::SendMessageA(hwnd_, LB_ITEMFROMPOINT, 0, point);
    if (HIWORD(hit) != 0) return false;  // below the last row
    index = LOWORD(hit);
    RECT row;
    if (::SendMessageA(hwnd_, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&row)) == LB_ERR)
        return false;
    const int x = static_cast<short>(LOWORD(point));
    return x >= CheckBoxOf(row).left - 2;
}

void TCheckListBox::Toggle(int index) {
    if (index < 0 || index >= ItemCount() || !ItemEnabled(index) || !Enabled()) return;
    SetChecked(index, !Checked(index));
    if (OnClickCheck) OnClickCheck();
}

bool TCheckListBox::Intercept(UINT message, WPARAM wParam, LPARAM lParam) {
    int index = -1;
    if (message == WM_LBUTTONDBLCLK && InCheckBox(lParam, index)) {
        // A quick second click on the box is a second toggle, not a
        // double click on the row.
        Toggle(index);
        return true;
    }
    if (message == WM_CHAR && wParam == ' ') {
        Toggle(ItemIndex());
        return true;
    }
    return false;
}

void TCheckListBox::AfterMessage(UINT message, WPARAM, LPARAM lParam) {
    int index = -1;
    // The click selects the row as any click does, then its box toggles.
    if (message == WM_LBUTTONDOWN && InCheckBox(lParam, index)) Toggle(index);
}

bool TCheckListBox::HandleDrawItem(const DRAWITEMSTRUCT& draw) {
    if (draw.itemID == static_cast<UINT>(-1)) return true;  // an empty list has nothing to draw
    const int index = static_cast<int>(draw.itemID);
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    const bool enabled = ItemEnabled(index) && Enabled();
    RECT row = draw.rcItem;
    const int background = selected ? COLOR_HIGHLIGHT : COLOR_WINDOW;
    ::FillRect(draw.hDC, &row, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1)));
    RECT box = CheckBoxOf(row);
    UINT state = DFCS_BUTTONCHECK;
    if (Checked(index)) state |= DFCS_CHECKED;
    if (!enabled) state |= DFCS_INACTIVE;
    ::DrawFrameControl(draw.hDC, &box, DFC_BUTTON, state);
    RECT text = row;
    text.left += 2;
    text.right = box.left - 4;
    const int color = selected ? COLOR_HIGHLIGHTTEXT : (enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    ::SetBkMode(draw.hDC, TRANSPARENT);
    ::SetTextColor(draw.hDC, ::GetSysColor(color));
    const std::string caption = Item(index);
    ::DrawTextA(draw.hDC, caption.c_str(), -1, &text,
                DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (draw.itemState & ODS_FOCUS) ::DrawFocusRect(draw.hDC, &row);
    return true;
}

void TControlSet::WrongControl(int id) {
    char text[96];
    std::snprintf(text, sizeof text, "Tarnwell: control %d is missing or not of the kind asked for.", id);
    ::OutputDebugStringA(text);
    ::MessageBoxA(nullptr, text, "Error", MB_OK | MB_ICONERROR | MB_TOPMOST);
    std::abort();
}

}  // namespace tarnwell
