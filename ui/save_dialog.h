#pragma once
// The shell's "Save As" dialog, asking for the name of a file to write.
#include <optional>
#include <string>

#include "base/win.h"

namespace tarnwell {

struct SaveChoice {
    std::string file;
    int filterIndex = 1;  // the type the user chose, from 1
};

// `filter`: pairs of NUL-ended strings closed by a further NUL, as the
// dialog takes them; `defaultExtension` (without the dot, or null) is added
// to a name typed without one. It asks before overwriting; nothing when
// the user cancels.
std::optional<SaveChoice> AskSaveFileName(HWND owner, const char* filter, const std::string& suggested,
                                          const char* defaultExtension = nullptr);

}  // namespace tarnwell
