#include "shredder/shred_dialogs.h"

#include <commdlg.h>
#include <shlobj.h>

namespace tarnwell {

namespace {

std::optional<std::string> PickDirectory(HWND owner) {
    char display[MAX_PATH] = {};
    BROWSEINFOA browse{};
    browse.hwndOwner = owner;
    browse.pszDisplayName = display;
    browse.lpszTitle = "Add Directory To Shredder";
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST items = ::SHBrowseForFolderA(&browse);
    if (!items) return std::nullopt;
    char path[MAX_PATH] = {};
    const BOOL ok = ::SHGetPathFromIDListA(items, path);
    ::CoTaskMemFree(items);
    return ok ? std::optional<std::string>(path) : std::nullopt;
}

std::vector<std::string> PickFiles(HWND owner) {
    char file[MAX_PATH] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;  // understood by every Windows version
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = "All Files (*.*)\0*.*\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrTitle = "Add Files To Shredder";
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_NONETWORKBUTTON |
                   OFN_ENABLESIZING;
    if (!::GetOpenFileNameA(&dialog) || file[0] == '\0') return {};
    return {file};
}

}  // namespace

ShredderPrompts ShredderDialogs(HWND owner) {
    ShredderPrompts prompts;
    prompts.PickDirectory = [owner] { return PickDirectory(owner); };
    prompts.PickFiles = [owner] { return PickFiles(owner); };
    prompts.Inform = [owner](const std::string& text) {
        ::MessageBoxA(owner, text.c_str(), "Tarnwell", MB_OK | MB_TOPMOST);
    };
    prompts.Confirm = [owner](const std::string& text) {
        return ::MessageBoxA(owner, text.c_str(), "Tarnwell", MB_YESNO | MB_ICONQUESTION | MB_TOPMOST) == IDYES;
    };
    return prompts;
}

}  // namespace tarnwell
