#pragma once
// A tab control whose pages are child dialogs, one per tab, laid over the
// tab's display area; only the active page is visible.
#include <functional>
#include <string_view>
#include <vector>

#include "ui/control_set.h"
#include "base/win.h"

namespace tarnwell {

class TPageControl {
public:
    // Creates the tab control (tabs at the bottom, on several rows).
    bool Create(HWND parent, int id, RECT bounds, HFONT font);
    // Adds a tab and its page; the page routes its children's notifications
    // into `controls`.
    HWND AddPage(std::string_view caption, int pageId, const TControlSet& controls);
    // Sizes every page to the display area once all tabs exist.
    void LayoutPages();

    int ActivePageIndex() const;
    void SetActivePageIndex(int index);
    HWND Page(int index) const { return pages_.at(static_cast<size_t>(index)); }
    int PageCount() const { return static_cast<int>(pages_.size()); }
    HWND Handle() const { return tab_; }

    // TCN_SELCHANGE from the tab control.
    void HandleSelectionChange();
    std::function<void()> OnChange;

private:
    void ShowOnly(int index);

    HWND tab_ = nullptr;
    std::vector<HWND> pages_;
};

}  // namespace tarnwell
