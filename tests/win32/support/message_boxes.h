#pragma once
// Message boxes and shell dialogs another program shows, found the way an
// automation tool finds them: visible top-level dialogs of any process.
#include <string>

#include "base/win.h"

namespace tarnwell::testing {

// A message box found by its caption and a part of its text.
HWND MessageBoxWith(const std::string& caption, const std::string& textPart);
// The text of a message box.
std::string BoxText(HWND box);
// The shell's folder picker, found by its folder tree.
HWND FolderPicker();
// Tarnwell's Cookie Keeper while it is shown.
HWND ShownCookieKeeper();

}  // namespace tarnwell::testing
