#pragma once
// Plain text onto the clipboard, as CF_TEXT.
#include <string>

#include "base/win.h"

namespace tarnwell {

// False when the clipboard could not be opened (another program holds it)
// or the memory could not be had; the clipboard is then left as it was.
bool CopyTextToClipboard(HWND owner, const std::string& text);

}  // namespace tarnwell
