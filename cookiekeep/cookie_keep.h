#pragma once
// The Cookie Keeper dialog: per family of stores, what exists now and what
// every sweep must spare. The four keep lists live in its list boxes for
// the whole run; they are loaded at creation and saved at every close.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/known_locations.h"
#include "base/ini_text.h"
#include "cookiekeep/keep_list.h"
#include "base/handles.h"
#include "ui/control_set.h"
#include "ui/form.h"
#include "ui/page_control.h"

namespace tarnwell {

struct CookieKeepSources {
    std::string programDir;
    const KnownLocations* locations = nullptr;      // cookies and Flash Player folders
    HBITMAP banner = nullptr;                       // the main window's picture, copied
    std::function<std::string()> fireFoxProfile;    // the chosen profile folders
    std::function<std::string()> netscapeProfile;
    // settings.ini as read at start-up (empty when there was none); nothing
    // when it could not be read: the keep lists are then neither loaded nor
    // saved, and no sweeper is given one.
    std::optional<IniText> settings;
};

class TCookieKeep {
public:
    static constexpr int kLastActiveTab = -1;

    TCookieKeep(HWND owner, CookieKeepSources sources);
    ~TCookieKeep();
    TCookieKeep(const TCookieKeep&) = delete;
    TCookieKeep& operator=(const TCookieKeep&) = delete;

    // Creates the hidden dialog and loads the keep lists.
    bool Create(HFONT font);
    // Shows the dialog on `tab` (or the last active one) until it is closed.
    void ShowModal(int tab);
    HWND Handle() const { return hwnd_; }

    // The keep list shown in the list box `listId` (DstList, FFDstList,
    // NSDstList or FlashDstList), for the sweepers; nothing when the lists
    // could not be loaded, so that nothing they guard is destroyed.
    std::optional<KeepList> List(int listId) const;
    const std::string& SharedObjectsPath() const { return soPath_; }

private:
    friend LRESULT CALLBACK FormWindowProc<TCookieKeep>(HWND, UINT, WPARAM, LPARAM);
    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls(HFONT font);
    void WireEvents();
    void LoadKeepLists();
    DWORD SaveKeepLists() const;
    void ReportSaveFailure(DWORD error) const;
    KeepList Shown(int listId) const { return KeepList(ListBox(listId).Items()); }
    void FindSharedObjects();
    void FormShow();
    void FillIECandidates();
    void FillCookieDomains(int tab, const std::string& folder);
    void FillFlashCandidates();
    void MoveSelected(int tab, bool toKeep);
    void MoveAll(int tab, bool toKeep);
    void RefreshButtons(int tab);
    void Close();
    TListBox& ListBox(int id) const { return controls_.Get<TListBox>(id); }

    HWND owner_;
    HWND hwnd_ = nullptr;
    CookieKeepSources sources_;
    TControlSet controls_;
    TPageControl pages_;
    GdiBitmap banner_;
    std::string soPath_;
    bool modal_ = false;
};

}  // namespace tarnwell
