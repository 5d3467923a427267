#include "categories/mozilla_categories.h"

#include "app/control_table.h"
#include "app/known_locations.h"
#include "categories/mozilla_files.h"

namespace tarnwell {

namespace {

// A missing cache folder in an existing profile is "None Found.".
std::function<std::string(bool)> CacheMissing(const TMozillaTab& tab) {
    return [&tab](bool) {
        const std::string& profile = tab.ProfilePath();
        return !profile.empty() && DirectoryExists(profile) ? "None Found." : "Not Found.";
    };
}

constexpr const char* kYahooCache = "\\extensions\\{635abd67-4fe9-1b23-4f01-e679fa7484c1}\\cache\\";

}  // namespace

TMozillaTab::TMozillaTab(const CategoryServices& services, MozillaTabStores stores)
    : removal_(services.removal), stores_(std::move(stores)), profiles_(stores_.profileCombo) {}

bool TMozillaTab::ProfileExists() const { return !ProfilePath().empty() && DirectoryExists(ProfilePath()); }

BrowserItemContext TMozillaTab::ItemContext() const { return {removal_(), stores_.os.IsNTPlatform}; }

std::optional<KeepList> TMozillaTab::KeptCookies() const {
    return stores_.keptCookies ? stores_.keptCookies() : std::optional(KeepList());
}

TNetscapeCategory::TNetscapeCategory(const CategoryServices& services, MozillaTabStores stores)
    : TMozillaTab(services, std::move(stores)), category_(services, Declare()) {}

std::string TNetscapeCategory::DataFile(const char* name) const {
    if (!ProfileExists()) return {};
    const std::optional<std::string> data = NetscapeDataFolder(ProfilePath());
    return data ? *data + name : std::string();
}

CategoryDecl TNetscapeCategory::Declare() {
    FolderScan cache{.folder = [this] { return DataFile("\\Cache"); }};
    cache.whenMissing = CacheMissing(*this);
    const auto dataFiles = [this](const char* name) {
        return [this, name] {
            const std::string file = DataFile(name);
            return file.empty() ? std::vector<std::string>() : std::vector<std::string>{file};
        };
    };

    CategoryDecl decl{.analyzeButton = ctl::NSAnalyzeBTN,
                      .sweepButton = ctl::NSSweepBTN,
                      .quickSweepItem = ctl::SweepNSHistMNU,
                      .allBox = ctl::NSAllCB};
    decl.rows = {
        {ctl::NSTempFilesCB, ctl::NSTempFiles, cache},
        {ctl::NSHistFilesCB, ctl::NSHistFiles, FileList{.files = dataFiles("\\history.dat")}},
        {ctl::NSCookFilesCB, ctl::NSCookFiles, ItemRoutine{[this](bool sweep) {
             return CookieFileItem(DataFile("\\cookies.txt"), KeptCookies(), sweep, ItemContext());
         }}},
        {ctl::NSToolBarCB, ctl::NSToolBar, ItemRoutine{[this](bool sweep) {
             return ToolbarFileItem(DataFile("\\netscapetoolbar.rdf"), sweep, ItemContext());
         }}},
        {ctl::NSDropDownCB, ctl::NSDropDown, FileList{.files = dataFiles("\\localstore.rdf")}},
    };
    decl.emptySweep = EmptySweep::RunEndCheck;
    decl.ready = [this] { return ProfileExists(); };
    return decl;
}

TFireFoxCategory::TFireFoxCategory(const CategoryServices& services, MozillaTabStores stores)
    : TMozillaTab(services, std::move(stores)), category_(services, Declare()) {}

// A roaming profile keeps its cache below "Local Settings".
std::string TFireFoxCategory::CacheFolder() const {
    if (!ProfileExists()) return {};
    const std::string own = ProfileFile("\\Cache");
    return DirectoryExists(own) ? own : LocalSettingsTwin(ProfilePath()) + "\\Cache";
}

CategoryDecl TFireFoxCategory::Declare() {
    FolderScan cache{.folder = [this] { return CacheFolder(); }};
    cache.whenMissing = CacheMissing(*this);
    const auto profileFiles = [this](std::vector<std::string> names) {
        return [this, names = std::move(names)] {
            std::vector<std::string> files;
            if (ProfileExists())
                for (const std::string& name : names) files.push_back(ProfilePath() + name);
            return files;
        };
    };

    CategoryDecl decl{.analyzeButton = ctl::FFAnalyzeBTN,
                      .sweepButton = ctl::FFSweepBTN,
                      .quickSweepItem = ctl::SweepFFHistMNU,
                      .allBox = ctl::FFAllCB};
    // In the order Analyze starts them; Sweep takes the cookies earlier.
    decl.rows = {
        {ctl::FFTempFilesCB, ctl::FFTempFiles, cache},
        {ctl::FFHistFilesCB, ctl::FFHistFiles, FileList{.files = profileFiles({"\\history.dat"})}},
        {ctl::FFFormHistCB, ctl::FFFormHist, FileList{.files = profileFiles({"\\formhistory.dat"})}},
        {ctl::FFPasswordsCB, ctl::FFPasswords, FileList{.files = profileFiles({"\\signons.txt"})}},
        {ctl::FFDownManCB, ctl::FFDownMan, FileList{.files = profileFiles({"\\downloads.rdf"})}},
        {ctl::FFCookFilesCB, ctl::FFCookFiles, ItemRoutine{[this](bool sweep) {
             const std::string file = ProfileExists() ? ProfileFile("\\cookies.txt") : std::string();
             return CookieFileItem(file, KeptCookies(), sweep, ItemContext());
         }}},
        {ctl::FFGBarCB, ctl::FFGBar, ItemRoutine{[this](bool sweep) {
             const std::string file = ProfileExists() ? ProfileFile("\\prefs.js") : std::string();
             return GoogleToolbarItem(file, sweep, ItemContext());
         }}},
        {ctl::FFYBarCB, ctl::FFYBar,
         FileList{.files = profileFiles({"\\ysearch-history.rdf", std::string(kYahooCache) + "searchHistory.xml",
                                         std::string(kYahooCache) + "ysearch-history.rdf"})}},
    };
    // Temporary files, history, cookies, downloads, passwords, form
    // history, then the two toolbars.
    decl.sweepOrder = {0, 1, 5, 4, 3, 2, 6, 7};
    decl.emptySweep = EmptySweep::RunEndCheck;
    decl.ready = [this] { return ProfileExists(); };
    return decl;
}

}  // namespace tarnwell
