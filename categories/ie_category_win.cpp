#include "categories/ie_category.h"

#include "app/control_table.h"
#include "app/known_locations.h"
#include "base/file_names.h"
#include "engine/registry_items.h"
#include "ui/message_pump.h"

namespace tarnwell {

namespace {

constexpr int kItemBoxes[] = {ctl::IETempFilesCB, ctl::IEHistFilesCB, ctl::IECookFilesCB,
                              ctl::IEDropDownCB,  ctl::IEAutoCB,      ctl::IEIndexCB,
                              ctl::IEGoogleCB,    ctl::IEYahooCB,     ctl::IEToolBarCB};
constexpr int kItemLabels[] = {ctl::IETempFiles, ctl::IEHistFiles, ctl::IECookFiles,
                               ctl::IEDropDown,  ctl::IEAuto,      ctl::IEIndex,
                               ctl::IEGoogle,    ctl::IEYahoo,     ctl::IEToolBar};
constexpr int kItemCount = 9;

bool IsDirectory(const std::string& path) { return !path.empty() && DirectoryExists(path); }

}  // namespace

// The toolbar items finish before their start returns, so only the first
// six labels can keep the tab busy.
const CategoryFrame& TIECategory::Frame() {
    constexpr int kCheckedItems = 6;
    static const CategoryFrame frame{ctl::IEAnalyzeBTN, ctl::IESweepBTN, ctl::SweepIEHistMNU,
                                     std::vector<int>(kItemLabels, kItemLabels + kCheckedItems)};
    return frame;
}

TIECategory::TIECategory(CategoryServices services, IEStores stores)
    : services_(std::move(services)),
      stores_(std::move(stores)),
      temp_{ctl::IETempFiles, {}},
      hist_{ctl::IEHistFiles, {}},
      cook_{ctl::IECookFiles, {}} {
    SetUpScanner(temp_);
    SetUpScanner(hist_);
    SetUpScanner(cook_);
}

void TIECategory::SetUpScanner(FileItem& item) {
    TBaseScanner& scanner = item.scanner;
    SetUpFolderWalk(scanner);
    scanner.OnFileFound = [this, &item](const std::string& name, const std::string& path, std::int32_t,
                                        std::int32_t, double) {
        if (!item.sweeping) return;
        // The shell's folder description stays in all three folders.
        if (name == "desktop.ini") return;
        if (&item == &cook_ && kept_.Contains(name)) return;
        SecureDeleteFile(JoinPath(path, name), services_.removal());
    };
    scanner.OnProcessDone = [this, &item](TBaseScanner&, std::uint32_t count, std::uint32_t) {
        FileItemDone(item, count);
    };
}

bool TIECategory::Running() const {
    for (int label : Frame().labels)
        if (services_.framework.Busy(label)) return true;
    return false;
}

void TIECategory::Analyze() {
    if (Running()) return;
    services_.framework.LockCategory(Frame());
    for (int i = 0; i < kItemCount; ++i) {
        services_.framework.StartRiskItem(kItemLabels[i], "Analyzing...");
        Start(static_cast<Item>(i), false);
    }
}

void TIECategory::Sweep() {
    if (Running()) return;
    services_.framework.LockCategory(Frame());
    kept_ = stores_.keptCookies ? stores_.keptCookies() : KeepList();
    bool started = false;
    for (int i = 0; i < kItemCount; ++i) {
        if (!services_.controls.Get<TCheckBox>(kItemBoxes[i]).Checked()) continue;
        started = true;
        services_.framework.StartRiskItem(kItemLabels[i], "Deleting...");
        Start(static_cast<Item>(i), true);
    }
    // Nothing to do: the buttons come back at once.
    if (!started) services_.framework.CategoryEndCheck(Frame());
}

void TIECategory::Start(Item item, bool sweep) {
    const KnownLocations& locations = services_.locations;
    const RegistryHooks& hooks = services_.registryHooks;
    switch (item) {
        case Item::Temp: return StartFileItem(temp_, locations.IECacheDir, sweep);
        case Item::Hist: return StartFileItem(hist_, locations.IEHistoryDir, sweep);
        case Item::Cook: return StartFileItem(cook_, locations.CookieDir, sweep);
        case Item::DropDown:
            return FinishRegistryItem(ctl::IEDropDown, IEDropDownItem(sweep, hooks), sweep, " item(s) deleted.");
        case Item::Auto:
            return FinishRegistryItem(ctl::IEAuto,
                                      IEAutoItem(sweep, hooks, stores_.os.IsNTPlatform, GetUserNameText(),
                                                 stores_.protectedStorageStep),
                                      sweep, " removed.");
        case Item::Index: return CleanIndex(sweep);
        case Item::Google: return FinishRegistryItem(ctl::IEGoogle, IEGoogleItem(sweep, hooks), sweep, " removed.");
        case Item::Yahoo: return FinishRegistryItem(ctl::IEYahoo, IEYahooItem(sweep, hooks), sweep, " removed.");
        case Item::ToolBar: {
            const int bytes = IEToolBarItem(sweep, hooks, GetUserSidText());
            services_.framework.FinishItem(Frame(), ctl::IEToolBar,
                                           std::to_string(bytes) + (sweep ? " byte(s) deleted." : " byte(s)"));
            return;
        }
    }
}

void TIECategory::StartFileItem(FileItem& item, const std::string& directory, bool sweep) {
    if (!IsDirectory(directory)) {
        services_.framework.FinishItem(Frame(), item.label, "Not Found.");
        return;
    }
    if (sweep) item.sweeping = true;
    item.scanner.Directory = directory;
    item.scanner.Execute();
}

void TIECategory::FileItemDone(FileItem& item, std::uint32_t count) {
    const bool swept = item.sweeping;
    item.sweeping = false;
    if (&item == &hist_ && swept) ClearUrlHistory(stores_.history, [] { ProcessMessages(); });
    services_.framework.FinishItem(Frame(), item.label,
                                   std::to_string(count) + (swept ? " file(s) deleted." : " file(s)"));
}

// The cache index is cleaned only after the file scans of this sweep, whose
// reports keep arriving while the wait lets messages run.
void TIECategory::WaitForFileScans() {
    while (temp_.scanner.Running() || hist_.scanner.Running() || cook_.scanner.Running()) {
        ProcessMessages();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

void TIECategory::CleanIndex(bool sweep) {
    if (!sweep) {
        services_.framework.FinishItem(Frame(), ctl::IEIndex, "Located.");
        return;
    }
    WaitForFileScans();
    stores_.cache.SearchPattern = TSearchPattern::spAll;
    CleanUrlCache(stores_.cache, kept_);
    services_.framework.FinishItem(Frame(), ctl::IEIndex, "Cleaned.");
}

void TIECategory::FinishRegistryItem(int label, int count, bool sweep, const char* sweptSuffix) {
    services_.framework.FinishItem(Frame(), label, std::to_string(count) + (sweep ? sweptSuffix : " item(s)"));
}

}  // namespace tarnwell
