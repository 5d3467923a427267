#include "categories/windows_category.h"

#include "app/control_table.h"
#include "base/file_names.h"
#include "engine/registry_items.h"
#include "ui/late_bound.h"
#include "ui/message_pump.h"

namespace tarnwell {

namespace {

constexpr const char* kChkFolder = "C:\\";

struct ItemControls {
    int box, label;
};
constexpr ItemControls kItems[] = {
    {ctl::CHKFilesCB, ctl::CHKFiles},       {ctl::RecentFilesCB, ctl::RecentFiles},
    {ctl::RecycleFilesCB, ctl::RecycleFiles}, {ctl::TempFilesCB, ctl::TempFiles},
    {ctl::WRunFieldCB, ctl::WRunField},     {ctl::WFindFieldsCB, ctl::WFindFields},
    {ctl::WComDlgCB, ctl::WComDlg},         {ctl::WUserAssistCB, ctl::WUserAssist},
};

bool IsDirectory(const std::string& path) { return !path.empty() && DirectoryExists(path); }

}  // namespace

const CategoryFrame& TWindowsCategory::Frame() {
    static const CategoryFrame frame{ctl::WAnalyzeBTN,
                                     ctl::WSweepBTN,
                                     ctl::SweepWHistMNU,
                                     {ctl::CHKFiles, ctl::RecentFiles, ctl::RecycleFiles, ctl::TempFiles,
                                      ctl::WRunField, ctl::WFindFields, ctl::WComDlg, ctl::WUserAssist}};
    return frame;
}

TWindowsCategory::TWindowsCategory(CategoryServices services)
    : services_(std::move(services)),
      chk_{ctl::CHKFilesCB, ctl::CHKFiles, {}},
      recent_{ctl::RecentFilesCB, ctl::RecentFiles, {}},
      recycle_{ctl::RecycleFilesCB, ctl::RecycleFiles, {}},
      temp_{ctl::TempFilesCB, ctl::TempFiles, {}} {
    SetUpScanner(chk_, false);
    chk_.scanner.Directory = kChkFolder;
    chk_.scanner.Files = "file*.chk";
    chk_.scanner.Recursive = false;
    SetUpScanner(recent_, false);
    SetUpScanner(recycle_, true);
    SetUpScanner(temp_, false);
}

void TWindowsCategory::SetUpScanner(FileItem& item, bool spareDesktopIni) {
    TBaseScanner& scanner = item.scanner;
    SetUpFolderWalk(scanner);
    scanner.OnFileFound = [this, &item, spareDesktopIni](const std::string& name, const std::string& path,
                                                         std::int32_t, std::int32_t, double) {
        if (!item.sweeping) return;
        // The recycle folder's own description file stays.
        if (spareDesktopIni && name == "desktop.ini") return;
        SecureDeleteFile(JoinPath(path, name), services_.removal());
    };
    scanner.OnProcessDone = [this, &item](TBaseScanner&, std::uint32_t count, std::uint32_t) {
        FileItemDone(item, count);
    };
}

TWindowsCategory::FileItem& TWindowsCategory::FileItemOf(Item item) {
    switch (item) {
        case Item::Chk: return chk_;
        case Item::Recent: return recent_;
        case Item::Recycle: return recycle_;
        default: return temp_;
    }
}

void TWindowsCategory::Analyze() {
    services_.framework.LockCategory(Frame());
    for (int i = 0; i < 8; ++i) {
        services_.framework.StartRiskItem(kItems[i].label, "Analyzing...");
        Start(static_cast<Item>(i), false);
    }
}

void TWindowsCategory::Sweep() {
    for (int i = 0; i < 8; ++i) {
        if (!services_.controls.Get<TCheckBox>(kItems[i].box).Checked()) continue;
        services_.framework.LockCategory(Frame());
        services_.framework.StartRiskItem(kItems[i].label, "Deleting...");
        Start(static_cast<Item>(i), true);
    }
}

void TWindowsCategory::Start(Item item, bool sweep) {
    const KnownLocations& locations = services_.locations;
    switch (item) {
        case Item::Chk: return StartFileItem(chk_, kChkFolder, sweep);
        case Item::Recent: return StartFileItem(recent_, locations.RecentDir, sweep);
        case Item::Recycle: return StartFileItem(recycle_, locations.RecycleDir, sweep);
        case Item::Temp: return StartFileItem(temp_, locations.TempDir, sweep);
        case Item::Run: return RunRegistryItem(ctl::WRunField, WRunFieldItem, sweep);
        case Item::Find: return RunRegistryItem(ctl::WFindFields, WFindFieldsItem, sweep);
        case Item::ComDlg: return RunRegistryItem(ctl::WComDlg, WComDlgItem, sweep);
        case Item::UserAssist: return RunRegistryItem(ctl::WUserAssist, WUserAssistItem, sweep);
    }
}

void TWindowsCategory::StartFileItem(FileItem& item, const std::string& directory, bool sweep) {
    if (IsDirectory(directory)) {
        if (sweep) item.sweeping = true;
        item.scanner.Directory = directory;
        item.scanner.Execute();
        return;
    }
    if (&item == &recycle_ && sweep) {
        // No recycle folder of our own: the shell empties the bins of all drives.
        services_.controls.Find(item.label)->SetText("Not Found.");
        ProcessMessages();
        EmptyRecycleBin();
        services_.framework.FinishItem(Frame(), item.label, "Emptied.");
        return;
    }
    services_.framework.FinishItem(Frame(), item.label, "Not Found.");
}

void TWindowsCategory::FileItemDone(FileItem& item, std::uint32_t count) {
    const bool swept = item.sweeping;
    item.sweeping = false;
    if (&item == &recent_) {
        const int total = static_cast<int>(count) + RecentDocsItem(swept, services_.registryHooks);
        services_.framework.FinishItem(Frame(), item.label,
                                       std::to_string(total) + (swept ? " item(s) deleted." : " item(s)"));
        return;
    }
    if (&item == &recycle_ && swept) EmptyRecycleBin();
    services_.framework.FinishItem(Frame(), item.label,
                                   std::to_string(count) + (swept ? " file(s) deleted." : " file(s)"));
}

void TWindowsCategory::RunRegistryItem(int label, int (*item)(bool, const RegistryHooks&), bool sweep) {
    const int count = item(sweep, services_.registryHooks);
    services_.framework.FinishItem(Frame(), label,
                                   std::to_string(count) + (sweep ? " item(s) deleted." : " item(s)"));
}

// The shell of Windows 98 and 2000 (4.71) on; without it the bins are left
// as they are, their files already removed one by one where a folder of
// our own was found.
void TWindowsCategory::EmptyRecycleBin() {
    using EmptyBin = HRESULT(WINAPI*)(HWND, LPCSTR, DWORD);
    const auto call = BindLater<EmptyBin>("shell32.dll", "SHEmptyRecycleBinA");
    constexpr DWORD kNoConfirmationNoProgressNoSound = 7;
    if (call) call(services_.owner, nullptr, kNoConfirmationNoProgressNoSound);
}

}  // namespace tarnwell
