#pragma once
// Message boxes and shell dialogs another program shows, found the way an
// automation tool finds them: visible top-level dialogs of any process.
#include <functional>
#include <string>

#include "base/win.h"

#include <commctrl.h>

namespace tarnwell::testing {

// A visible dialog of any process that `matches`, or none.
HWND VisibleDialog(std::function<bool(HWND)> matches);
// A message box found by its caption and a part of its text.
HWND MessageBoxWith(const std::string& caption, const std::string& textPart);
// The text of a message box.
std::string BoxText(HWND box);
// The shell's folder picker, found by its folder tree.
HWND FolderPicker();
// Opens the folder picker with a click on `button` of another process,
// lets `choose` pick an item of its tree (given the item selected when it
// opened; null to wait longer) and confirms with OK; false when no picker
// showed or nothing was chosen.
bool PickInFolderPicker(HWND button, const std::function<HTREEITEM(HWND tree, HTREEITEM opened)>& choose);
// The first sub-folder of `item`, its branch opened first.
HTREEITEM FirstSubfolder(HWND tree, HTREEITEM item);
// Tarnwell's Cookie Keeper while it is shown.
HWND ShownCookieKeeper();

}  // namespace tarnwell::testing
