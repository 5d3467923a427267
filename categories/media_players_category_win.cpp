#include "categories/media_players_category.h"

#include "app/control_table.h"
#include "app/known_locations.h"
#include "base/file_names.h"
#include "base/handles.h"
#include "engine/folder_tree_win.h"
#include "engine/registry_items.h"
#include "ui/message_pump.h"

namespace tarnwell {

TMediaPlayersCategory::TMediaPlayersCategory(const CategoryServices& services,
                                             std::function<FlashKeeping()> flashKeeping)
    : locations_(services.locations),
      flashKeeping_(std::move(flashKeeping)),
      category_(services, Declare(services)) {}

std::optional<std::vector<std::string>> TMediaPlayersCategory::QuickTimeFiles() const {
    const std::string& folder = locations_.QuickTimeDir;
    if (folder.empty() || !DirectoryExists(folder)) return std::nullopt;
    return std::vector<std::string>{folder + "QuickTimeFavorites.qtr"};
}

// A kept entry spares a file of that name anywhere, and every file below a
// folder of that name (the site's folder, its name written as it is).
bool TMediaPlayersCategory::SpareFlashFile(const std::string& fullName) const {
    if (!flash_.kept) return true;
    const std::string name = fullName.substr(fullName.rfind('\\') + 1);
    if (flash_.kept->Contains(name)) return true;
    for (const std::string& entry : flash_.kept->Items())
        if (fullName.find("\\" + entry + "\\") != std::string::npos) return true;
    return false;
}

// After a sweep's walk: the site folders the Cookie Keeper listed and does
// not keep, then every other folder of the Flash Player folder but the
// shared objects' own. Messages run after each folder.
void TMediaPlayersCategory::RemoveFlashFolders() {
    const std::string& so = flash_.sharedObjects;
    if (so.empty() || !DirectoryExists(so)) return;
    for (const std::string& site : flash_.sites) {
        const std::string folder = so + site;
        if (DirectoryExists(folder) && !(flash_.kept && flash_.kept->Contains(site))) RemoveFolderTree(folder);
        ProcessMessages();
    }
    const std::string& player = locations_.FlashDir;
    if (player.empty() || !DirectoryExists(player)) return;
    std::vector<std::string> folders;
    WIN32_FIND_DATAA entry;
    if (FindHandle listing(::FindFirstFileA((player + "*.*").c_str(), &entry)); listing) {
        do {
            const std::string name = entry.cFileName;
            if (name != "." && name != ".." && name != "#SharedObjects") folders.push_back(name);
        } while (::FindNextFileA(listing.get(), &entry));
    }
    for (const std::string& name : folders) {
        if (DirectoryExists(player + name)) RemoveFolderTree(player + name);
        ProcessMessages();
    }
}

CategoryDecl TMediaPlayersCategory::Declare(const CategoryServices& services) {
    const KnownLocations& loc = services.locations;
    const RegistryHooks hooks = services.registryHooks;

    // Without the keep list the Flash folder reads as not found.
    FolderScan flash{.folder = [this, &loc] {
        flash_ = flashKeeping_ ? flashKeeping_() : FlashKeeping{};
        return flashKeeping_ && !flash_.kept ? std::string() : loc.FlashDir;
    }};
    flash.spareAt = [this](const std::string& fullName) { return SpareFlashFile(fullName); };
    flash.afterWalk = [this](bool swept) {
        if (swept) {
            flash_ = flashKeeping_ ? flashKeeping_() : FlashKeeping{};
            RemoveFlashFolders();
        }
        return 0;
    };
    flash.sweptText = "Files deleted.";
    FolderScan shockwave{.folder = [&loc] { return loc.ShockwaveDir; }};

    CategoryDecl decl{.analyzeButton = ctl::MPAnalyzeBTN,
                      .sweepButton = ctl::MPSweepBTN,
                      .quickSweepItem = ctl::SweepMPHistMNU,
                      .allBox = ctl::MPAllCB};
    decl.rows = {
        {ctl::QTRecentFilesCB, ctl::QTRecentFiles, FileList{.files = [this] { return QuickTimeFiles(); }}},
        {ctl::RPRecentFilesCB, ctl::RPRecentFiles, RegistryRoutine([hooks](bool sweep) {
             return RPRecentFilesItem(sweep, hooks);
         })},
        {ctl::WMPRecentFilesCB, ctl::WMPRecentFiles, RegistryRoutine([hooks](bool sweep) {
             return WMPRecentFilesItem(sweep, hooks);
         })},
        {ctl::FlashSOCB, ctl::FlashSO, flash},
        {ctl::ShockwaveCB, ctl::Shockwave, shockwave},
    };
    decl.analyzeLocks = false;
    return decl;
}

}  // namespace tarnwell
