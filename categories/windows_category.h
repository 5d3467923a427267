#pragma once
// The Windows tab: ScanDisk fragments, recent documents, the recycle bin
// and the temp folder (found by folder walks), and the Run, Find, common
// dialog and UserAssist lists (registry items).
#include <string>

#include "app/category_engine.h"

namespace tarnwell {

class TWindowsCategory {
public:
    explicit TWindowsCategory(const CategoryServices& services);
    TCategory& Category() { return category_; }

private:
    CategoryDecl Declare(const CategoryServices& services);
    std::string RecycleBinMissing(bool sweep);
    void EmptyRecycleBin();

    HWND owner_;
    TCategory category_;
};

}  // namespace tarnwell
