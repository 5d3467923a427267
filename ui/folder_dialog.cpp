#include "ui/folder_dialog.h"

#include <shlobj.h>

namespace tarnwell {

namespace {

// Opens the tree on the current folder, so that a change is one step away.
// The first request of a process can end without a selection while the
// shell is still filling the drives' branch for the first time; asked
// again, it finds the folder (and a second request for a folder already
// selected changes nothing).
int CALLBACK SelectInitialFolder(HWND dialog, UINT message, LPARAM, LPARAM initial) {
    if (message != BFFM_INITIALIZED || !initial) return 0;
    for (int attempt = 0; attempt < 2; ++attempt) ::SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, initial);
    return 0;
}

}  // namespace

std::optional<std::string> PickFolder(HWND owner, const char* title, const std::string& initialFolder) {
    // The shell names a folder without a closing backslash, a drive's root
    // with one.
    std::string initial = initialFolder;
    if (initial.size() > 3 && initial.back() == '\\') initial.pop_back();
    char display[MAX_PATH] = {};
    BROWSEINFOA browse{};
    browse.hwndOwner = owner;
    browse.pszDisplayName = display;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    if (!initial.empty()) {
        browse.lpfn = SelectInitialFolder;
        browse.lParam = reinterpret_cast<LPARAM>(initial.c_str());
    }
    LPITEMIDLIST items = ::SHBrowseForFolderA(&browse);
    if (!items) return std::nullopt;
    char path[MAX_PATH] = {};
    const BOOL ok = ::SHGetPathFromIDListA(items, path);
    ::CoTaskMemFree(items);
    return ok && path[0] ? std::optional<std::string>(path) : std::nullopt;
}

}  // namespace tarnwell
