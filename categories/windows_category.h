#pragma once
// The Windows tab: ScanDisk fragments, recent documents, the recycle bin
// and the temp folder (found by scanners), and the Run, Find, common
// dialog and UserAssist lists (registry items).
#include <functional>
#include <string>

#include "app/category_framework.h"
#include "app/known_locations.h"
#include "engine/registry_cleaner.h"
#include "engine/scanner.h"
#include "engine/secure_delete.h"
#include "ui/control_set.h"

namespace tarnwell {

struct CategoryServices {
    const TControlSet& controls;
    TCategoryFramework& framework;
    const KnownLocations& locations;
    std::function<RemovalContext()> removal;  // the Security tab's options at the moment of a removal
    RegistryHooks registryHooks;
    HWND owner;                               // parent of any shell dialog
};

class TWindowsCategory {
public:
    explicit TWindowsCategory(CategoryServices services);

    void Analyze();
    void Sweep();
    static const CategoryFrame& Frame();

private:
    struct FileItem {
        int box;
        int label;
        TBaseScanner scanner;
        bool sweeping = false;
    };
    enum class Item { Chk, Recent, Recycle, Temp, Run, Find, ComDlg, UserAssist };

    void Start(Item item, bool sweep);
    void StartFileItem(FileItem& item, const std::string& directory, bool sweep);
    void SetUpScanner(FileItem& item, bool spareDesktopIni);
    void FileItemDone(FileItem& item, std::uint32_t count);
    void RunRegistryItem(int label, int (*item)(bool, const RegistryHooks&), bool sweep);
    void EmptyRecycleBin();
    FileItem& FileItemOf(Item item);

    CategoryServices services_;
    FileItem chk_, recent_, recycle_, temp_;
};

}  // namespace tarnwell
