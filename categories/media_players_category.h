#pragma once
// The Media Players tab: QuickTime's favourites file, the recent lists of
// RealPlayer and Windows Media Player in the registry, the Flash Player's
// shared objects and site settings (sparing the sites the Cookie Keeper
// keeps) and the Shockwave Player's preference files. Analyze leaves the
// buttons as they are; a sweep asked for while any item runs is ignored.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/category_engine.h"
#include "cookiekeep/keep_list.h"

namespace tarnwell {

// What the Cookie Keeper's Flash tab holds at the moment it is asked.
struct FlashKeeping {
    std::string sharedObjects;       // the shared-objects folder, or empty when none was found
    std::vector<std::string> sites;  // its site folders not kept, as the dialog last listed them
    std::optional<KeepList> kept;    // nothing while the lists are unknown
};

class TMediaPlayersCategory {
public:
    TMediaPlayersCategory(const CategoryServices& services, std::function<FlashKeeping()> flashKeeping);
    TCategory& Category() { return category_; }

private:
    CategoryDecl Declare(const CategoryServices& services);
    // QuickTime's favourites file; none while QuickTime's folder is missing.
    std::optional<std::vector<std::string>> QuickTimeFiles() const;
    bool SpareFlashFile(const std::string& fullName) const;
    void RemoveFlashFolders();

    const KnownLocations& locations_;
    std::function<FlashKeeping()> flashKeeping_;
    FlashKeeping flash_;  // as it was when the Flash walk started
    TCategory category_;
};

}  // namespace tarnwell
