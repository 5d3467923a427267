#pragma once
// The AOL Browser tab. AOL keeps its own cache and each user's typed
// addresses in its "organize" folder, but uses Internet Explorer's folders
// for temporary files, history and cookies; its toolbar and deskbar keep
// their search histories in the registry. The user is chosen under "User
// Profile:" from the names in the organize folder. Without the organize
// folder the buttons do nothing.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/category_engine.h"
#include "categories/profile_chooser.h"
#include "categories/url_history.h"
#include "cookiekeep/keep_list.h"

namespace tarnwell {

struct AolTabStores {
    TComboBox& profileCombo;
    TUrlHistory& history;
    // The Internet Explorer/AOL keep list, read when the cookie item
    // starts; nothing while the lists are unknown.
    std::function<std::optional<KeepList>()> keptCookies;
    std::function<std::string()> userSid;  // the current user's SID text
};

class TAolCategory {
public:
    TAolCategory(const CategoryServices& services, AolTabStores stores);
    TCategory& Category() { return category_; }
    TProfileChooser& Profiles() { return profiles_; }

private:
    CategoryDecl Declare(const CategoryServices& services);
    bool OrganizeExists() const;
    // The chosen user's address-recall and auto-complete files; none while
    // no user is chosen.
    std::optional<std::vector<std::string>> DropDownFiles() const;

    const KnownLocations& locations_;
    AolTabStores stores_;
    TProfileChooser profiles_;
    std::optional<KeepList> kept_;  // the keep list as it was when the sweep started
    TCategory category_;
};

}  // namespace tarnwell
