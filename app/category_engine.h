#pragma once
// The one engine every category tab runs on. A category is declared as a
// table of item rows (check box, risk label, what the item works on) plus
// its buttons, tray quick-sweep item and "Sweep them all!" box; the engine
// runs Analyze and Sweep over the rows, keeps each row's busy mark, locks
// the category's controls while any row runs and unlocks them in the end
// check, and derives the "Sweep them all!" list from the same rows.
//
// A request to Analyze or Sweep while the category is busy is ignored,
// whoever makes it (button, tray, timer, hot key): a sweep must never turn
// a running analysis walk into a deleting one.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/known_locations.h"
#include "engine/findings.h"
#include "engine/registry_cleaner.h"
#include "engine/scanner.h"
#include "engine/secure_delete.h"
#include "ui/control_set.h"
#include "ui/popup_menu.h"

namespace tarnwell {

// What every category reaches beyond its own rows.
struct CategoryServices {
    const TControlSet& controls;
    TPopupMenu& menu;                          // the tray menu with the quick-sweep items
    int sweepAllButton;                        // locked by any category, unlocked by any end check
    int sweepAllItem;
    const KnownLocations& locations;           // filled once the program has started
    std::function<RemovalContext()> removal;   // the Security tab's options at the moment of a removal
    RegistryHooks registryHooks;
    HWND owner;                                // parent of any shell dialog
    // Whether a walk that destroys what it finds may run below a folder:
    // never on a drive root or a system folder (or a parent of one).
    std::function<bool(const std::string& folder)> mayDestroyBelow;
};

// The text a counting item writes after its count: while analysing and
// after a sweep.
struct CountUnit {
    const char* analysed;
    const char* swept;
};
inline constexpr CountUnit kFiles{" file(s)", " file(s) deleted."};
inline constexpr CountUnit kItems{" item(s)", " item(s) deleted."};
inline constexpr CountUnit kBytes{" bytes", " bytes deleted."};
inline constexpr CountUnit kByteCount{" byte(s)", " byte(s) deleted."};

// An item that walks a folder: every entry below it is counted, and on a
// sweep every file not spared is destroyed. The count covers every entry
// the walk reported, spared files and folders included.
struct FolderScan {
    std::function<std::string()> folder{};  // read each time the item starts
    std::string files = "*";
    bool recursive = true;
    std::function<bool(const std::string& name)> spare{};  // files a sweep leaves alone
    // Files a sweep leaves alone by where they lie (the full name).
    std::function<bool(const std::string& fullName)> spareAt{};
    CountUnit unit = kFiles;
    // The label after a sweep when it shows no count.
    const char* sweptText = nullptr;
    // Runs after the walk, before the label is written; its result is
    // added to the count (the recent-documents list in the registry).
    std::function<int(bool swept)> afterWalk{};
    // The label text when the folder is missing; "Not Found." without it.
    std::function<std::string(bool sweep)> whenMissing{};
};

// The shell's description of a folder (desktop.ini), which sweeps leave.
inline bool IsFolderDescription(const std::string& name) { return name == "desktop.ini"; }

// An item of single files, each destroyed whole on a sweep; its label adds
// up the bytes they held. Folders and missing files are passed over.
struct FileList {
    // Full names, read each time the item starts; none when the item has
    // nowhere to look, and `whenMissing` is then its label.
    std::function<std::optional<std::vector<std::string>>()> files{};
    CountUnit unit = kBytes;
    std::string whenMissing = "Not Found.";
    // A sweep that left a file (held open, read-only) reads as an analysis,
    // since not all of it was deleted.
    bool survivorReadsAsAnalysis = false;
};

// An item that computes at once (a registry list, a store of its own) and
// answers its label text.
struct ItemRoutine {
    std::function<std::string(bool sweep)> run{};
};

// One part of an item whose parts are only known when it starts.
using EntryWork = std::variant<FolderScan, FileList, ItemRoutine>;

struct EntryRun {
    std::vector<EntryWork> entries;
    // The row's text once every entry has ended (a refusal the user must
    // see); empty: the text of the entry that ended last.
    std::string closing;
};

// An item made of entries read anew each time it starts (a plug-in
// definition). The entries run side by side, each as an item of its own;
// the row stays busy until the last of them has ended. A sweep stops
// starting entries once the row's box is unchecked.
struct ItemGroup {
    std::function<EntryRun(bool sweep)> read{};
};

using ItemWork = std::variant<FolderScan, FileList, ItemRoutine, ItemGroup>;

// A row whose check mark, risk text and busy sign are entries of lists
// rather than a check box and a label of its own (the plug-in rows).
struct RowView {
    std::function<bool()> checked{};
    // "Sweep them all!": checked and locked, or unchecked and free.
    std::function<void(bool all)> govern{};
    std::function<void(std::string_view text)> show{};
    std::function<void(bool busy)> markBusy{};
    std::function<std::string()> caption{};  // the row's name in its details
};

struct CategoryRow {
    CategoryRow(int box, int label, ItemWork work, bool inEndCheck = true, int alsoGoverns = 0)
        : box(box), label(label), work(std::move(work)), inEndCheck(inEndCheck), alsoGoverns(alsoGoverns) {}
    CategoryRow(RowView view, ItemWork work) : box(0), label(0), work(std::move(work)), view(std::move(view)) {}

    int box;
    int label;
    ItemWork work;
    RowView view{};  // used when `box` is 0
    // Rows that always finish before their start returns may stay out of
    // the end check.
    bool inEndCheck = true;
    // A box that "Sweep them all!" sets right after this row's box.
    int alsoGoverns = 0;
};

// What Sweep does when no item box is checked.
enum class EmptySweep { Nothing, RunEndCheck };

struct CategoryDecl {
    int analyzeButton = 0;
    int sweepButton = 0;
    int quickSweepItem = 0;
    int allBox = 0;
    std::vector<CategoryRow> rows{};  // in the order Analyze starts them
    // Row indexes in the order Sweep starts them; empty: the rows' order.
    std::vector<int> sweepOrder{};
    bool analyzeLocks = true;
    EmptySweep emptySweep = EmptySweep::Nothing;
    // Without it (a browser's profile folder not found) the buttons do
    // nothing at all; null means always ready.
    std::function<bool()> ready{};
    // Runs once a sweep has locked the category, before its first item.
    std::function<void()> beforeSweep{};
};

class TCategory {
public:
    TCategory(CategoryServices services, CategoryDecl decl);
    ~TCategory();
    TCategory(const TCategory&) = delete;
    TCategory& operator=(const TCategory&) = delete;

    // A row known only once the program has started (a plug-in found in
    // its folder); rows are added before the first run.
    void AddRow(CategoryRow row);

    void Analyze();
    void Sweep();
    // Sweeps once the running Analyze or Sweep has ended, letting messages
    // run while it waits; at once when the category is idle.
    void SweepWhenIdle();
    bool Busy() const;

    // The "Sweep them all!" box's click handler: checked sets each governed
    // box checked and greyed, unchecked sets each unchecked and enabled;
    // every change runs the box's own click handler.
    void AllBoxClick();
    // The boxes "Sweep them all!" governs, in the order it sets them.
    std::vector<int> GovernedBoxes() const;

    // For items' own routines: lets the folder walks of this category end,
    // letting messages run meanwhile.
    void WaitForFolderScans();
    // Shows an interim text on a running item's label.
    void ShowText(int label, std::string_view text);

    // What the last run of a row found, for its details window.
    std::size_t RowCount() const { return rows_.size(); }
    ItemReport Report(std::size_t row) const;
    // The risk label of each row that has one, by row.
    std::vector<std::pair<std::size_t, int>> RowLabels() const;

private:
    struct RowState;
    struct Walk;

    void Start(std::size_t row, bool sweep);
    // One for each kind of work a row or an entry of a group holds.
    void StartWork(std::size_t row, const ItemGroup& group, bool sweep);
    void StartWork(std::size_t row, const ItemRoutine& routine, bool sweep);
    void StartWork(std::size_t row, const FolderScan& scan, bool sweep);
    void StartWork(std::size_t row, const FileList& list, bool sweep);
    void FileFound(Walk& walk, const std::string& name, const std::string& path, std::int32_t attributes,
                   std::int64_t size);
    void RecordSweep(ItemReport& report, Finding finding, RemovalOutcome outcome, const TRemovalRoot* root);
    std::string RunRoutine(std::size_t row, const ItemRoutine& routine, bool sweep);
    void BeginReport(std::size_t row, bool sweep);
    void EndReport(std::size_t row);
    std::string RowCaption(std::size_t row) const;
    void WalkEnded(Walk& walk, std::uint32_t count);
    void ReleaseEndedWalks();
    std::vector<std::size_t> SweepOrder() const;

    // A row's check mark and risk text, wherever they live.
    bool RowChecked(std::size_t row) const;
    void ShowRowText(std::size_t row, std::string_view text);

    // The category's busy state and its controls. A row is busy while any
    // of its entries runs.
    void LockCategory();
    void StartRiskItem(std::size_t row, std::string_view text);
    void BeginEntry(std::size_t row);
    void FinishRiskItem(std::size_t row, std::string_view text);
    void EntryEnded(std::size_t row, std::optional<std::string_view> text);
    void CategoryEndCheck();
    void SetControlsEnabled(bool enabled);

    CategoryServices services_;
    CategoryDecl decl_;
    std::vector<std::unique_ptr<RowState>> rows_;
    // Every folder walk started and not yet released: released only once
    // the walk has fully ended, never from inside its own end event.
    std::vector<std::unique_ptr<Walk>> walks_;
    bool starting_ = false;  // inside the loop that starts the rows
};

// The rows of a registry list: its count followed by `sweptSuffix` after a
// sweep, by " item(s)" after an analysis.
ItemRoutine RegistryRoutine(std::function<int(bool sweep)> item, const char* sweptSuffix = kItems.swept);

}  // namespace tarnwell
