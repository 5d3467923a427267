#include "categories/aol_category.h"

#include "app/control_table.h"
#include "app/known_locations.h"
#include "app/profile_folders.h"
#include "engine/registry_items.h"

namespace tarnwell {

TAolCategory::TAolCategory(const CategoryServices& services, AolTabStores stores)
    : locations_(services.locations),
      stores_(std::move(stores)),
      profiles_(stores_.profileCombo, [](const std::string& name) { return IsAolScreenName(name); }),
      category_(services, Declare(services)) {}

bool TAolCategory::OrganizeExists() const {
    return !locations_.AOLPath.empty() && DirectoryExists(locations_.AOLPath);
}

std::optional<std::vector<std::string>> TAolCategory::DropDownFiles() const {
    const std::string user = profiles_.ChosenName();
    if (user.empty() || !OrganizeExists()) return std::nullopt;
    const std::string base = locations_.AOLPath + user;
    return std::vector<std::string>{base + ".AUT", base + "1.AUT", base + ".ARL", base + "1.ARL"};
}

CategoryDecl TAolCategory::Declare(const CategoryServices& services) {
    const KnownLocations& loc = services.locations;
    const RegistryHooks hooks = services.registryHooks;

    FolderScan ieTemp{.folder = [&loc] { return loc.IECacheDir; }};
    ieTemp.spare = IsFolderDescription;
    FolderScan cache{.folder = [this] { return OrganizeExists() ? locations_.AOLPath + "Cache" : std::string(); }};
    FolderScan history{.folder = [&loc] { return loc.IEHistoryDir; }};
    history.spare = IsFolderDescription;
    history.afterWalk = [this](bool swept) {
        if (swept) ClearUrlHistory(stores_.history, [] {});
        return 0;  // the label counts the files
    };
    // Without the keep list the cookie folder reads as not found, and a walk
    // that runs all the same spares every file.
    FolderScan cookies{.folder = [this, &loc] {
        const bool known = !stores_.keptCookies || stores_.keptCookies().has_value();
        return known ? loc.CookieDir : std::string();
    }};
    cookies.spare = [this](const std::string& name) {
        return IsFolderDescription(name) || !kept_ || kept_->Contains(name);
    };
    const auto sid = stores_.userSid;

    CategoryDecl decl{.analyzeButton = ctl::AOLAnalyzeBTN,
                      .sweepButton = ctl::AOLSweepBTN,
                      .quickSweepItem = ctl::SweepAOLHistMNU,
                      .allBox = ctl::AOLAllCB};
    decl.rows = {
        {ctl::AOLIETempFilesCB, ctl::AOLIETempFiles, ieTemp},
        {ctl::AOLTempFilesCB, ctl::AOLTempFiles, cache},
        {ctl::AOLHistFilesCB, ctl::AOLHistFiles, history},
        {ctl::AOLCookFilesCB, ctl::AOLCookFiles, cookies},
        {ctl::AOLDropDownCB, ctl::AOLDropDown,
         FileList{.files = [this] { return DropDownFiles(); }, .unit = kByteCount, .whenMissing = "None Found."}},
        {ctl::AOLToolBarCB, ctl::AOLToolbar,
         RegistryRoutine([hooks, sid](bool sweep) { return AOLToolBarItem(sweep, hooks, sid()); })},
        {ctl::AOLDeskbarCB, ctl::AOLDeskbar,
         RegistryRoutine([hooks, sid](bool sweep) { return AOLDeskbarItem(sweep, hooks, sid()); })},
    };
    decl.emptySweep = EmptySweep::RunEndCheck;
    decl.ready = [this] { return OrganizeExists(); };
    decl.beforeSweep = [this] { kept_ = stores_.keptCookies ? stores_.keptCookies() : std::optional(KeepList()); };
    return decl;
}

}  // namespace tarnwell
