#pragma once
// The Opera tab: the cache, the history files that opera6.ini names, the
// cookie file and the autosaved session of the one Opera profile folder
// (found at start-up or picked on the Settings tab). opera6.ini is only
// read. Without the profile folder the buttons do nothing.
#include <string>
#include <vector>

#include "app/category_engine.h"

namespace tarnwell {

class TOperaCategory {
public:
    explicit TOperaCategory(const CategoryServices& services);
    TCategory& Category() { return category_; }

private:
    CategoryDecl Declare();
    bool ProfileExists() const;
    // A file of the profile folder; empty while there is none.
    std::string ProfileFile(const char* name) const;
    // The history files opera6.ini names, in the order they are swept.
    std::vector<std::string> HistoryFiles() const;

    const KnownLocations& locations_;
    TCategory category_;
};

}  // namespace tarnwell
