#pragma once
// Thin wrappers of the native controls with the semantics the program's
// handlers expect: setting a state in code fires the same event as the
// user's action, but only when the state really changes.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/win.h"

namespace tarnwell {

class TControl {
public:
    TControl(HWND hwnd, int id) : hwnd_(hwnd), id_(id) {}
    virtual ~TControl() = default;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    HWND Handle() const { return hwnd_; }
    int Id() const { return id_; }
    bool Enabled() const { return ::IsWindowEnabled(hwnd_) != FALSE; }
    void SetEnabled(bool enabled) { ::EnableWindow(hwnd_, enabled ? TRUE : FALSE); }
    std::string Text() const;
    void SetText(std::string_view text);

    // Free integer for the owner's bookkeeping (a risk label's busy mark, a
    // profile combo's stored index).
    int Tag = 0;

    // The property the settings store keeps for this control, as value text.
    virtual std::string PropertyText() const { return {}; }
    virtual void SetPropertyText(std::string_view) {}

    // Notifications routed from the parent window.
    virtual void HandleCommand(int /*code*/) {}
    virtual void HandleScroll() {}
    // WM_DRAWITEM for a control the program draws; true when drawn.
    virtual bool HandleDrawItem(const DRAWITEMSTRUCT& /*draw*/) { return false; }
    // WM_CONTEXTMENU on the control, at a screen point; true when handled.
    virtual bool HandleContextMenu(POINT /*at*/) { return false; }

protected:
    HWND hwnd_;
    int id_;
};

class TButton : public TControl {
public:
    using TControl::TControl;
    std::function<void()> OnClick;
    void HandleCommand(int code) override;
};

class TCheckBox : public TControl {
public:
    using TControl::TControl;
    std::function<void()> OnClick;
    bool Checked() const;
    // Runs OnClick when the state changes, as a click by the user would.
    void SetChecked(bool checked);
    std::string PropertyText() const override;
    void SetPropertyText(std::string_view text) override;
    void HandleCommand(int code) override;
};

class TLabel : public TControl {
public:
    using TControl::TControl;
};

// An item's risk label: a double click, or "Details..." on its context
// menu, asks for the item's details.
class TRiskLabel : public TLabel {
public:
    using TLabel::TLabel;
    std::function<void()> OnDetails;
    void HandleCommand(int code) override;
    bool HandleContextMenu(POINT at) override;
};

class TEdit : public TControl {
public:
    using TControl::TControl;
    std::function<void()> OnChange;
    std::string PropertyText() const override;
    void SetPropertyText(std::string_view text) override;
    void HandleCommand(int code) override;
};

// Edit with an up-down buddy holding an integer within [min, max]. While
// the user types, the text may be empty or out of range for a moment; when
// the field loses the focus it is put right: a number is brought into the
// range, anything else gives back the value the field held when it got
// the focus.
class TSpinEdit : public TControl {
public:
    TSpinEdit(HWND edit, HWND upDown, int id, int minValue, int maxValue);
    std::function<void()> OnChange;
    // The text's number brought into the range; while the text is not a
    // number, the value the field held before the edit.
    int Value() const;
    void SetValue(int value);
    int MinValue() const { return min_; }
    int MaxValue() const { return max_; }
    HWND UpDown() const { return upDown_; }
    std::string PropertyText() const override;
    void SetPropertyText(std::string_view text) override;
    void HandleCommand(int code) override;

private:
    static LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND upDown_;
    int min_, max_;
    int held_;  // set in code or held when the field last got the focus
    WNDPROC editProc_ = nullptr;
};

class TTrackBar : public TControl {
public:
    TTrackBar(HWND hwnd, int id, int minValue, int maxValue);
    std::function<void()> OnChange;
    int Position() const;
    // Runs OnChange when the position changes, as dragging the thumb would.
    void SetPosition(int position);
    std::string PropertyText() const override;
    void SetPropertyText(std::string_view text) override;
    void HandleScroll() override;

private:
    int min_, max_;
    int last_ = 0;
};

// Hot-key field; the value is a shortcut code: key in the low byte, plus
// 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt.
class THotKey : public TControl {
public:
    using TControl::TControl;
    std::function<void()> OnChange;
    int HotKey() const;
    void SetHotKey(int shortcut);
    std::string PropertyText() const override;
    void SetPropertyText(std::string_view text) override;
    void HandleCommand(int code) override;
};

class TComboBox : public TControl {
public:
    using TControl::TControl;
    std::function<void()> OnChange;
    void Clear();
    void AddItem(std::string_view text);
    int ItemCount() const;
    std::string Item(int index) const;
    int ItemIndex() const;
    // Selects an entry (none for -1) without OnChange, which only the
    // user's choice fires.
    void SetItemIndex(int index);
    // A profile combo keeps its chosen index in Tag until its list is filled.
    std::string PropertyText() const override;
    void SetPropertyText(std::string_view text) override;
    void HandleCommand(int code) override;
};

class TListBox : public TControl {
public:
    using TControl::TControl;
    ~TListBox() override;
    std::function<void()> OnChange;
    void Clear();
    void AddItem(std::string_view text);
    int ItemCount() const;
    std::string Item(int index) const;
    std::vector<std::string> Items() const;
    void DeleteItem(int index);
    void InsertItem(int index, std::string_view text);
    // Replaces the text of an entry, keeping its place and its item data.
    void SetItem(int index, std::string_view text);
    // The selected entry of a single-selection list, -1 for none.
    int ItemIndex() const;
    bool Selected(int index) const;
    // Selects one entry alone (none for -1).
    void SelectOnly(int index);
    // The height of every entry, in pixels.
    int ItemHeight() const;
    void SetItemHeight(int height);
    // The entry shown at the top of the list.
    int TopIndex() const;
    void SetTopIndex(int index);
    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    // After a key the list has handled, and after its view was scrolled
    // (scroll bar or wheel): only with WatchInput.
    std::function<void()> OnKeyPress;
    std::function<void()> OnScroll;
    // Subclasses the list so that its keys and scrolling are reported.
    void WatchInput();
    void HandleCommand(int code) override;

protected:
    // A message the list gets, before its own procedure; true when it is
    // handled here and the list must not see it.
    virtual bool Intercept(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return false; }
    // The same message once the list's own procedure has handled it.
    virtual void AfterMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {}

private:
    static LRESULT CALLBACK ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    WNDPROC listProc_ = nullptr;
};

// A list whose rows have a check box each, drawn by the program with the
// box on the right and the text right-aligned against it. A row's mark and
// whether the user may change it are kept in the row's item data (bit 0
// checked, bit 1 disabled), so they can be read from outside as well.
// The user toggles a row by clicking its box or pressing the space bar.
class TCheckListBox : public TListBox {
public:
    TCheckListBox(HWND hwnd, int id);
    bool Checked(int index) const;
    // Sets the mark without OnClickCheck, which only the user's toggle fires.
    void SetChecked(int index, bool checked);
    bool ItemEnabled(int index) const;
    void SetItemEnabled(int index, bool enabled);
    std::function<void()> OnClickCheck;
    bool HandleDrawItem(const DRAWITEMSTRUCT& draw) override;

    static constexpr LPARAM kCheckedBit = 1;
    static constexpr LPARAM kDisabledBit = 2;

protected:
    bool Intercept(UINT message, WPARAM wParam, LPARAM lParam) override;
    void AfterMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LPARAM Flags(int index) const;
    void SetFlag(int index, LPARAM bit, bool on);
    RECT CheckBoxOf(const RECT& row) const;
    bool InCheckBox(LPARAM point, int& index) const;
    void Toggle(int index);
};

class TGroupBox : public TControl {
public:
    using TControl::TControl;
};

}  // namespace tarnwell
