#include "ui/save_dialog.h"

#include <commdlg.h>

namespace tarnwell {

std::optional<SaveChoice> AskSaveFileName(HWND owner, const char* filter, const std::string& suggested,
                                          const char* defaultExtension) {
    char file[MAX_PATH] = {};
    suggested.copy(file, MAX_PATH - 1);
    OPENFILENAMEA dialog{};
    // The size of the structure older systems know.
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = defaultExtension;
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!::GetSaveFileNameA(&dialog) || file[0] == '\0') return std::nullopt;
    return SaveChoice{file, static_cast<int>(dialog.nFilterIndex)};
}

}  // namespace tarnwell
