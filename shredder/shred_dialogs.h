#pragma once
// The Shredder's dialogs and message boxes, owned by the main window.
#include "shredder/shredder.h"
#include "base/win.h"

namespace tarnwell {

ShredderPrompts ShredderDialogs(HWND owner);

}  // namespace tarnwell
