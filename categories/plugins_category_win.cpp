#include "categories/plugins_category.h"

#include <shellapi.h>

#include "app/control_table.h"
#include "base/file_names.h"
#include "base/handles.h"
#include "engine/file_info_win.h"
#include "engine/folder_guard_win.h"
#include "engine/folder_tree_win.h"
#include "engine/registry_cleaner.h"
#include "ui/message_pump.h"
#include "ui/text_file.h"

namespace tarnwell {

namespace {

constexpr const char* kRiskPrefix = "Risk: ";
// A definition is a few lines; anything far larger is not one and is not
// read into memory.
constexpr std::int64_t kLargestDefinition = 1 << 20;

HKEY RootKey(PluginRoot root) { return root == PluginRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

std::string RegistryText(bool sweep) { return sweep ? "Item(s) deleted." : "Item(s) detected."; }

}  // namespace

TPluginsCategory::TPluginsCategory(const CategoryServices& services, PluginsTabLists lists)
    : locations_(services.locations),
      registryHooks_(services.registryHooks),
      lists_(lists),
      category_(services, Declare()) {
    // Rows of one height in both lists, so that they can show the same rows.
    lists_.risks.SetItemHeight(lists_.names.ItemHeight());
}

CategoryDecl TPluginsCategory::Declare() const {
    return CategoryDecl{.analyzeButton = ctl::PIAnalyzeBTN,
                        .sweepButton = ctl::PISweepBTN,
                        .quickSweepItem = ctl::SweepPIHistMNU,
                        .allBox = ctl::PAllCB};
}

void TPluginsCategory::Load(const std::string& folder, const TFolderGuard& guard) {
    folder_ = folder;
    guard_ = &guard;
    WIN32_FIND_DATAA entry;
    FindHandle listing(::FindFirstFileA(JoinPath(folder, "*.*").c_str(), &entry));
    if (!listing) return;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (IsPluginFileName(entry.cFileName)) AddRow(entry.cFileName);
    } while (::FindNextFileA(listing.get(), &entry));
}

void TPluginsCategory::AddRow(const std::string& name) {
    const int row = lists_.names.ItemCount();
    lists_.names.AddItem(name);
    lists_.risks.AddItem(std::string(kRiskPrefix) + "Unknown");
    lists_.busyMarks.AddItem("0");
    category_.AddRow(CategoryRow(ViewOf(row), ItemGroup{[this, name](bool) { return Read(name); }}));
}

RowView TPluginsCategory::ViewOf(int row) {
    return RowView{
        .checked = [this, row] { return lists_.names.Checked(row); },
        .govern =
            [this, row](bool all) {
                lists_.names.SetChecked(row, all);
                lists_.names.SetItemEnabled(row, !all);
            },
        .show = [this, row](std::string_view text) { lists_.risks.SetItem(row, kRiskPrefix + std::string(text)); },
        .markBusy = [this, row](bool busy) { lists_.busyMarks.SetItem(row, busy ? "1" : "0"); },
        .caption = [this, row] { return "Plug-in " + lists_.names.Item(row); },
    };
}

// A definition that is gone or cannot be read gives no entries: its row is
// left as it is. The first refusal, in file order, is the row's last word.
EntryRun TPluginsCategory::Read(const std::string& name) const {
    const std::string file = folder_ + name;
    if (!IsPlainFile(file) || FileSizeOf(file) > kLargestDefinition) return {};
    const std::optional<std::string> text = ReadWholeFile(file);
    if (!text) return {};
    EntryRun run;
    for (const PluginEntry& entry : ReadPluginDefinition(*text, {locations_.ProfileRoot, GetUserNameText()})) {
        const std::string refusal = entry.refusal.empty() ? PlaceRefusal(entry) : entry.refusal;
        if (refusal.empty()) {
            run.entries.push_back(WorkOf(entry));
        } else if (run.closing.empty()) {
            run.closing = "Refused: " + refusal;
        }
    }
    return run;
}

std::string TPluginsCategory::PlaceRefusal(const PluginEntry& entry) const {
    if (entry.type != PluginEntryType::Directory && entry.type != PluginEntryType::File) return {};
    if (!guard_) return "not a full path";  // nothing may be judged before start-up has found the folders
    const std::optional<FolderRefusal> refusal = guard_->RefusalBelow(entry.path);
    return refusal ? RefusalText(*refusal) : std::string();
}

EntryWork TPluginsCategory::WorkOf(const PluginEntry& entry) const {
    switch (entry.type) {
        case PluginEntryType::Directory: {
            const std::string folder = entry.path;
            // As the Shredder does: every file below goes through the
            // removal routine, then the subfolders go whole; the folder stays.
            return FolderScan{.folder = [folder] { return folder; },
                              .afterWalk = [folder](bool swept) {
                                  if (swept && DirectoryExists(folder)) RemoveSubfolderTrees(folder, ProcessMessages);
                                  return 0;
                              }};
        }
        case PluginEntryType::File:
            // A file the removal routine leaves (held open, read-only) was
            // not deleted, and the row says so by reading as an analysis.
            return FileList{.files = [file = entry.path] { return std::vector<std::string>{file}; },
                            .unit = kByteCount,
                            .survivorReadsAsAnalysis = true};
        case PluginEntryType::RegistryKey:
            return ItemRoutine{[this, entry](bool sweep) {
                TRegistryItem item(sweep, CountRule::All, registryHooks_);
                item.ValueList(RootKey(entry.root), entry.key, ValueListOptions{.stringsOnly = true});
                return RegistryText(sweep);
            }};
        case PluginEntryType::RegistryValue:
            return ItemRoutine{[this, entry](bool sweep) {
                TRegistryItem item(sweep, CountRule::All, registryHooks_);
                item.SingleValue(RootKey(entry.root), entry.key, entry.value);
                return RegistryText(sweep);
            }};
    }
    return ItemRoutine{[](bool) { return std::string("Not Found."); }};
}

void TPluginsCategory::OpenSelected() const {
    const int row = lists_.names.ItemIndex();
    if (row < 0) return;
    const std::string file = folder_ + lists_.names.Item(row);
    ::ShellExecuteA(nullptr, "open", "notepad.exe", file.c_str(), folder_.c_str(), SW_SHOWNORMAL);
}

void TPluginsCategory::FollowNames() {
    lists_.risks.SelectOnly(lists_.names.ItemIndex());
    lists_.risks.SetTopIndex(lists_.names.TopIndex());
}

void TPluginsCategory::FollowRisks() {
    lists_.names.SelectOnly(lists_.risks.ItemIndex());
    lists_.names.SetTopIndex(lists_.risks.TopIndex());
}

}  // namespace tarnwell
