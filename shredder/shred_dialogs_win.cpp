#include "shredder/shred_dialogs.h"

#include <commdlg.h>

#include "ui/folder_dialog.h"

namespace tarnwell {

namespace {

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
    prompts.PickDirectory = [owner] { return PickFolder(owner, "Add Directory To Shredder"); };
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
