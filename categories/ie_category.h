#pragma once
// The Internet Explorer tab: temporary files, history (files and the URL
// history store) and cookies found by folder walks, the URL cache index,
// and typed addresses, AutoComplete and three toolbar histories in the
// registry.
#include <functional>
#include <optional>

#include "app/category_engine.h"
#include "app/os_flags.h"
#include "categories/ie_cache.h"
#include "categories/url_history.h"
#include "cookiekeep/keep_list.h"

namespace tarnwell {

// What the tab reaches beyond the common services: the browser's own
// stores, the Cookie Keeper's list and the AutoComplete item's NT step.
struct IEStores {
    TIECache& cache;
    TUrlHistory& history;
    // Read when an item starts; nothing while the list is unknown (it could
    // not be loaded), and then the cookie items leave every cookie alone.
    std::function<std::optional<KeepList>()> keptCookies;
    const OsFlags& os;                          // known once the program has started
    std::function<void()> protectedStorageStep;  // hands AutoComplete to the service on NT
};

class TIECategory {
public:
    TIECategory(const CategoryServices& services, IEStores stores);
    TCategory& Category() { return category_; }

private:
    CategoryDecl Declare(const CategoryServices& services);
    std::string CleanIndex(bool sweep);
    bool KeptCookiesKnown() const;

    IEStores stores_;
    std::optional<KeepList> kept_;  // the Cookie Keeper's list as it was when the sweep started
    TCategory category_;
};

}  // namespace tarnwell
