#pragma once
// The Plugins tab: one row per definition file found in the "plugins"
// folder when the program starts. A row's entries are read anew on every
// run and run side by side: folders through a walk that leaves the folder
// itself (its subfolders go afterwards), files through the removal
// routine, registry keys and values by blanking and deleting their values.
// An entry that could destroy the system (a drive, the Windows, system or
// program-files folder, the profile folder, a path left unexpanded or
// relative, a whole registry hive) is refused before anything runs; the
// row says why and the rest of its definition still runs.
#include <string>

#include "app/category_engine.h"
#include "categories/plugin_definition.h"
#include "ui/controls.h"

namespace tarnwell {

class TFolderGuard;

// The tab's three lists, kept row for row in step.
struct PluginsTabLists {
    TCheckListBox& names;  // the definitions' file names and check marks
    TListBox& risks;       // "Risk: ..." for each row
    TListBox& busyMarks;   // "1" while a row runs, "0" when it is idle
};

class TPluginsCategory {
public:
    TPluginsCategory(const CategoryServices& services, PluginsTabLists lists);
    TCategory& Category() { return category_; }

    // Lists the definitions in `folder` (ending with "\"): every file whose
    // name ends with ".ini", in listing order. Called once, at start-up,
    // with the guard that judges where an entry's path lies.
    void Load(const std::string& folder, const TFolderGuard& guard);
    // Opens the selected row's definition in Notepad.
    void OpenSelected() const;
    // The other list follows the one the user moved: same row selected,
    // same row at the top.
    void FollowNames();
    void FollowRisks();

private:
    CategoryDecl Declare() const;
    void AddRow(const std::string& name);
    RowView ViewOf(int row);
    EntryRun Read(const std::string& name) const;
    // A Directory or File entry's refusal of where its path lies.
    std::string PlaceRefusal(const PluginEntry& entry) const;
    EntryWork WorkOf(const PluginEntry& entry) const;

    const KnownLocations& locations_;
    RegistryHooks registryHooks_;
    PluginsTabLists lists_;
    std::string folder_;
    const TFolderGuard* guard_ = nullptr;
    TCategory category_;
};

}  // namespace tarnwell
