#pragma once
// The popup blocker's allow/block list dialog: two lists of hosts edited
// here and saved to allow.lst and block.lst beside the program, and the
// filter level kept in the registry. Created once at start-up, shown
// modally each time.
#include <functional>
#include <string>

#include "base/handles.h"
#include "ui/control_set.h"
#include "ui/form.h"

namespace tarnwell {

class TCPForm {
public:
    static constexpr const char* kClassName = "TCPForm";

    // `listsSaved` runs after Done saved changed lists (the library reads
    // them when it is registered again).
    TCPForm(HWND owner, std::string programDir, std::function<void()> listsSaved);
    ~TCPForm();
    TCPForm(const TCPForm&) = delete;
    TCPForm& operator=(const TCPForm&) = delete;

    bool Create(HFONT font, HBITMAP banner);
    void ShowModal();
    HWND Handle() const { return hwnd_; }

private:
    friend LRESULT CALLBACK FormWindowProc<TCPForm>(HWND, UINT, WPARAM, LPARAM);
    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void FormCreate();
    void FormShow();
    void ListClick(int listId, int editId, int otherListId, int otherEditId);
    void AddBTNClick();
    void ReplaceBTNClick();
    void RemoveBTNClick();
    void DoneBTNClick();
    void LVLCBoxChange();
    bool SaveLists();
    bool AddTo(int editId, int listId);
    void ReplaceIn(int editId, int listId);
    void Close() { modal_ = false; ::PostMessageA(hwnd_, WM_NULL, 0, 0); }

    HWND owner_;
    std::string programDir_;
    std::function<void()> listsSaved_;
    HWND hwnd_ = nullptr;
    TControlSet controls_;
    bool modal_ = false;
    bool ListsChanged = false;  // an edit or a level change since the last Done
};

}  // namespace tarnwell
