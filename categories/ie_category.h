#pragma once
// The Internet Explorer tab: temporary files, history (files and the URL
// history store) and cookies found by scanners, the URL cache index, and
// typed addresses, AutoComplete and three toolbar histories in the
// registry.
#include <functional>
#include <string>

#include "app/os_flags.h"
#include "categories/ie_cache.h"
#include "categories/url_history.h"
#include "categories/windows_category.h"
#include "cookiekeep/keep_list.h"

namespace tarnwell {

// What the tab reaches beyond the common services: the browser's own
// stores, the Cookie Keeper's list and the AutoComplete item's NT step.
struct IEStores {
    TIECache& cache;
    TUrlHistory& history;
    std::function<KeepList()> keptCookies;      // read when a sweep starts
    const OsFlags& os;                          // known once the program has started
    std::function<void()> protectedStorageStep;  // hands AutoComplete to the service on NT
};

class TIECategory {
public:
    TIECategory(CategoryServices services, IEStores stores);

    // Both do nothing while an earlier Analyze or Sweep of the tab runs.
    void Analyze();
    void Sweep();
    static const CategoryFrame& Frame();

private:
    struct FileItem {
        int label;
        TBaseScanner scanner;
        bool sweeping = false;
    };
    enum class Item { Temp, Hist, Cook, DropDown, Auto, Index, Google, Yahoo, ToolBar };

    bool Running() const;
    void Start(Item item, bool sweep);
    void SetUpScanner(FileItem& item);
    void StartFileItem(FileItem& item, const std::string& directory, bool sweep);
    void FileItemDone(FileItem& item, std::uint32_t count);
    void WaitForFileScans();
    void CleanIndex(bool sweep);
    void FinishRegistryItem(int label, int count, bool sweep, const char* sweptSuffix);

    CategoryServices services_;
    IEStores stores_;
    FileItem temp_, hist_, cook_;
    KeepList kept_;  // the Cookie Keeper's list as it was when the sweep started
};

}  // namespace tarnwell
