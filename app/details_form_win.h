#pragma once
// The details window of an item: what its last Analyze or Sweep found,
// sortable, to copy or save as text, and after a sweep what is still there
// and why. Opened from the item's risk label; modal over the main window.
#include "base/win.h"
#include "engine/findings.h"

namespace tarnwell {

inline constexpr const char* kDetailsFormClass = "TDetailsForm";

// Shows `report` (a copy is taken) until the user closes the window.
void ShowItemDetails(HWND owner, HFONT font, const ItemReport& report);

}  // namespace tarnwell
