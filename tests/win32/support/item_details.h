#pragma once
// An item's details window, opened and read from outside the program as a
// user opens and reads it.
#include <string>
#include <vector>

#include "base/win.h"

namespace tarnwell::testing {

class TarnwellProcess;

struct ItemDetailsView {
    HWND window = nullptr;
    std::string caption, run, totals, stillHeading;
    std::vector<std::string> listed, stillThere;
};

// Double-clicks the risk label `label` and waits for the details window.
HWND OpenItemDetails(const TarnwellProcess& program, int label);
// Double-clicks row `row` of a list (the Plugins tab's risk list).
HWND OpenItemDetailsFromList(const TarnwellProcess& program, int list, int row);
// What the window shows now.
ItemDetailsView ReadItemDetails(HWND window);
// Clicks a button of the window (a column heading, Copy) and waits until
// the program has handled it.
void ClickInDetails(HWND window, int button);
// Closes it with its Close button; false when it stays.
bool CloseItemDetails(HWND window);

}  // namespace tarnwell::testing
