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

void TListBox::HandleCommand(int code) {
    if (code == LBN_SELCHANGE) {
        if (OnChange) OnChange();
        if (OnClick) OnClick();
    }
}

void TControlSet::WrongControl(int id) {
    char text[96];
    std::snprintf(text, sizeof text, "Tarnwell: control %d is missing or not of the kind asked for.", id);
    ::OutputDebugStringA(text);
    ::MessageBoxA(nullptr, text, "Error", MB_OK | MB_ICONERROR | MB_TOPMOST);
    std::abort();
}

}  // namespace tarnwell
