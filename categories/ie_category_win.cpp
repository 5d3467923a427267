#include "categories/ie_category.h"

#include "app/control_table.h"
#include "app/known_locations.h"
#include "engine/registry_items.h"
#include "ui/message_pump.h"

namespace tarnwell {

TIECategory::TIECategory(const CategoryServices& services, IEStores stores)
    : stores_(std::move(stores)), category_(services, Declare(services)) {}

CategoryDecl TIECategory::Declare(const CategoryServices& services) {
    const KnownLocations& loc = services.locations;
    const RegistryHooks hooks = services.registryHooks;

    FolderScan temp{.folder = [&loc] { return loc.IECacheDir; }};
    temp.spare = IsFolderDescription;
    FolderScan history{.folder = [&loc] { return loc.IEHistoryDir; }};
    history.spare = IsFolderDescription;
    history.afterWalk = [this](bool swept) {
        if (swept) ClearUrlHistory(stores_.history, [] { ProcessMessages(); });
        return 0;  // the label counts the files, not the URLs
    };
    // Without the keep list the cookie folder reads as not found, and a walk
    // that runs all the same spares every file.
    FolderScan cookies{.folder = [this, &loc] { return KeptCookiesKnown() ? loc.CookieDir : std::string(); }};
    cookies.spare = [this](const std::string& name) {
        return IsFolderDescription(name) || !kept_ || kept_->Contains(name);
    };

    CategoryDecl decl{.analyzeButton = ctl::IEAnalyzeBTN,
                      .sweepButton = ctl::IESweepBTN,
                      .quickSweepItem = ctl::SweepIEHistMNU,
                      .allBox = ctl::IEAllCB};
    decl.rows = {
        {ctl::IETempFilesCB, ctl::IETempFiles, temp},
        {ctl::IEHistFilesCB, ctl::IEHistFiles, history},
        {ctl::IECookFilesCB, ctl::IECookFiles, cookies},
        {ctl::IEDropDownCB, ctl::IEDropDown, RegistryRoutine([hooks](bool sweep) { return IEDropDownItem(sweep, hooks); })},
        {ctl::IEAutoCB, ctl::IEAuto, RegistryRoutine([this, hooks](bool sweep) {
             return IEAutoItem(sweep, hooks, stores_.os.IsNTPlatform, GetUserNameText(), stores_.protectedStorageStep);
         }, " removed.")},
        // Checking every box also arranges the removal of the index files at
        // the next restart.
        {ctl::IEIndexCB, ctl::IEIndex, ItemRoutine{[this](bool sweep) { return CleanIndex(sweep); }}, true,
         ctl::VintrelCB},
        // The toolbar items finish before their start returns, so only the
        // first six rows can keep the tab busy.
        {ctl::IEGoogleCB, ctl::IEGoogle, RegistryRoutine([hooks](bool sweep) { return IEGoogleItem(sweep, hooks); }, " removed."),
         false},
        {ctl::IEYahooCB, ctl::IEYahoo, RegistryRoutine([hooks](bool sweep) { return IEYahooItem(sweep, hooks); }, " removed."),
         false},
        {ctl::IEToolBarCB, ctl::IEToolBar, ItemRoutine{[hooks](bool sweep) {
             const int bytes = IEToolBarItem(sweep, hooks, GetUserSidText());
             return std::to_string(bytes) + (sweep ? " byte(s) deleted." : " byte(s)");
         }}, false},
    };
    decl.emptySweep = EmptySweep::RunEndCheck;
    decl.beforeSweep = [this] { kept_ = stores_.keptCookies ? stores_.keptCookies() : std::optional(KeepList()); };
    return decl;
}

bool TIECategory::KeptCookiesKnown() const { return !stores_.keptCookies || stores_.keptCookies().has_value(); }

// The cache index is cleaned only after the folder walks of this sweep,
// whose reports keep arriving while the wait lets messages run.
//
// The index holds cookie entries too: without the keep list it is left alone.
std::string TIECategory::CleanIndex(bool sweep) {
    if (sweep ? !kept_ : !KeptCookiesKnown()) return "Not Found.";
    if (!sweep) return "Located.";
    category_.WaitForFolderScans();
    stores_.cache.SearchPattern = TSearchPattern::spAll;
    CleanUrlCache(stores_.cache, *kept_);
    return "Cleaned.";
}

}  // namespace tarnwell
