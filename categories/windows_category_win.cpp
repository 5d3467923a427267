#include "categories/windows_category.h"

#include "app/control_table.h"
#include "engine/registry_items.h"
#include "ui/late_bound.h"

namespace tarnwell {

TWindowsCategory::TWindowsCategory(const CategoryServices& services)
    : owner_(services.owner), category_(services, Declare(services)) {}

CategoryDecl TWindowsCategory::Declare(const CategoryServices& services) {
    const KnownLocations& loc = services.locations;
    const RegistryHooks hooks = services.registryHooks;

    // ScanDisk leaves its fragments in the root of the first drive only.
    FolderScan chk{.folder = [] { return std::string("C:\\"); }, .files = "file*.chk", .recursive = false};
    FolderScan recent{.folder = [&loc] { return loc.RecentDir; }};
    recent.unit = kItems;
    recent.afterWalk = [hooks](bool swept) { return RecentDocsItem(swept, hooks); };
    FolderScan recycle{.folder = [&loc] { return loc.RecycleDir; }};
    // The recycle folder's own description file stays.
    recycle.spare = IsFolderDescription;
    recycle.afterWalk = [this](bool swept) {
        if (swept) EmptyRecycleBin();
        return 0;
    };
    recycle.whenMissing = [this](bool sweep) { return RecycleBinMissing(sweep); };
    FolderScan temp{.folder = [&loc] { return loc.TempDir; }};

    const auto registry = [hooks](int (*item)(bool, const RegistryHooks&)) {
        return RegistryRoutine([hooks, item](bool sweep) { return item(sweep, hooks); });
    };
    CategoryDecl decl{.analyzeButton = ctl::WAnalyzeBTN,
                      .sweepButton = ctl::WSweepBTN,
                      .quickSweepItem = ctl::SweepWHistMNU,
                      .allBox = ctl::WAllCB};
    decl.rows = {
        {ctl::CHKFilesCB, ctl::CHKFiles, chk},
        {ctl::RecentFilesCB, ctl::RecentFiles, recent},
        {ctl::RecycleFilesCB, ctl::RecycleFiles, recycle},
        {ctl::TempFilesCB, ctl::TempFiles, temp},
        {ctl::WRunFieldCB, ctl::WRunField, registry(WRunFieldItem)},
        {ctl::WFindFieldsCB, ctl::WFindFields, registry(WFindFieldsItem)},
        {ctl::WComDlgCB, ctl::WComDlg, registry(WComDlgItem)},
        {ctl::WUserAssistCB, ctl::WUserAssist, registry(WUserAssistItem)},
    };
    decl.emptySweep = EmptySweep::Nothing;
    return decl;
}

// No recycle folder of our own: a sweep has the shell empty the bins of
// all drives.
std::string TWindowsCategory::RecycleBinMissing(bool sweep) {
    if (!sweep) return "Not Found.";
    category_.ShowText(ctl::RecycleFiles, "Not Found.");
    EmptyRecycleBin();
    return "Emptied.";
}

// The shell of Windows 98 and 2000 (4.71) on; without it the bins are left
// as they are, their files already removed one by one where a folder of
// our own was found.
void TWindowsCategory::EmptyRecycleBin() {
    using EmptyBin = HRESULT(WINAPI*)(HWND, LPCSTR, DWORD);
    const auto call = BindLater<EmptyBin>("shell32.dll", "SHEmptyRecycleBinA");
    constexpr DWORD kNoConfirmationNoProgressNoSound = 7;
    if (call) call(owner_, nullptr, kNoConfirmationNoProgressNoSound);
}

}  // namespace tarnwell
