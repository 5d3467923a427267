#pragma once
// The Netscape and FireFox tabs. Each works on the one profile chosen in
// its "User Profile:" combo: without that folder its buttons do nothing.
// Caches are walked and destroyed, history, form, password and download
// files destroyed whole, and cookies.txt, netscapetoolbar.rdf and prefs.js
// rewritten without their traces.
#include <functional>
#include <optional>
#include <string>

#include "app/category_engine.h"
#include "app/os_flags.h"
#include "categories/browser_items.h"
#include "categories/profile_chooser.h"
#include "cookiekeep/keep_list.h"

namespace tarnwell {

struct MozillaTabStores {
    TComboBox& profileCombo;
    // The Cookie Keeper's list for this browser, read when the cookie item
    // starts; nothing while the lists are unknown.
    std::function<std::optional<KeepList>()> keptCookies;
    const OsFlags& os;  // known once the program has started
};

// What both tabs are made of: the chosen profile and the items' context.
class TMozillaTab {
public:
    TMozillaTab(const CategoryServices& services, MozillaTabStores stores);
    TProfileChooser& Profiles() { return profiles_; }
    const std::string& ProfilePath() const { return profiles_.ProfilePath(); }

protected:
    bool ProfileExists() const;
    BrowserItemContext ItemContext() const;
    std::optional<KeepList> KeptCookies() const;

private:
    std::function<RemovalContext()> removal_;
    MozillaTabStores stores_;
    TProfileChooser profiles_;
};

class TNetscapeCategory : public TMozillaTab {
public:
    TNetscapeCategory(const CategoryServices& services, MozillaTabStores stores);
    TCategory& Category() { return category_; }

private:
    CategoryDecl Declare();
    // A file of the profile's data folder; empty when there is none.
    std::string DataFile(const char* name) const;

    TCategory category_;
};

class TFireFoxCategory : public TMozillaTab {
public:
    TFireFoxCategory(const CategoryServices& services, MozillaTabStores stores);
    TCategory& Category() { return category_; }

private:
    CategoryDecl Declare();
    std::string ProfileFile(const char* name) const { return ProfilePath() + name; }
    std::string CacheFolder() const;

    TCategory category_;
};

}  // namespace tarnwell
