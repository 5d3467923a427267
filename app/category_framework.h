#pragma once
// What every category shares: risk labels with a busy mark, and locking a
// category's buttons (and the Sweep All controls) while any of its items
// runs.
#include <string_view>
#include <vector>

#include "ui/control_set.h"
#include "ui/popup_menu.h"

namespace tarnwell {

// A category's controls: its two buttons, its tray quick-sweep item and
// the labels its end check looks at.
struct CategoryFrame {
    int analyzeButton;
    int sweepButton;
    int quickSweepItem;
    std::vector<int> labels;
};

class TCategoryFramework {
public:
    // Sweep All is `sweepAllButton` on the window and `sweepAllItem` in `menu`.
    TCategoryFramework(const TControlSet& controls, TPopupMenu& menu, int sweepAllButton, int sweepAllItem)
        : controls_(controls), menu_(menu), sweepAllButton_(sweepAllButton), sweepAllItem_(sweepAllItem) {}

    void LockCategory(const CategoryFrame& category);
    // Sets the label's text and busy mark, and lets the text be painted.
    void StartRiskItem(int label, std::string_view text);
    void FinishRiskItem(int label);
    // Writes the result, clears the busy mark and runs the end check.
    void FinishItem(const CategoryFrame& category, int label, std::string_view text);
    void CategoryEndCheck(const CategoryFrame& category);
    bool Busy(int label) const;

private:
    void SetCategoryEnabled(const CategoryFrame& category, bool enabled);

    const TControlSet& controls_;
    TPopupMenu& menu_;
    int sweepAllButton_;
    int sweepAllItem_;
};

}  // namespace tarnwell
