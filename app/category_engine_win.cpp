#include "app/category_engine.h"

#include "base/file_names.h"
#include "engine/removal_root_win.h"
#include "ui/message_pump.h"

namespace tarnwell {

struct TCategory::RowState {
    bool busy = false;      // the item runs; its label shows "Analyzing..." or "Deleting..."
    bool sweeping = false;  // a folder walk started by a sweep: what it reports is destroyed
    std::unique_ptr<TBaseScanner> scanner;
    std::optional<TRemovalRoot> root;  // the sweeping walk's folder, resolved when it started
};

namespace {

constexpr const char* kNotFound = "Not Found.";

}  // namespace

TCategory::TCategory(CategoryServices services, CategoryDecl decl)
    : services_(std::move(services)), decl_(std::move(decl)) {
    for (std::size_t row = 0; row < decl_.rows.size(); ++row) {
        auto state = std::make_unique<RowState>();
        if (const auto* scan = std::get_if<FolderScan>(&decl_.rows[row].work)) {
            state->scanner = std::make_unique<TBaseScanner>();
            TBaseScanner& scanner = *state->scanner;
            SetUpFolderWalk(scanner);
            scanner.Files = scan->files;
            scanner.Recursive = scan->recursive;
            scanner.OnFileFound = [this, row](const std::string& name, const std::string& path, std::int32_t,
                                              std::int32_t, double) { FileFound(row, name, path); };
            scanner.OnProcessDone = [this, row](TBaseScanner&, std::uint32_t count, std::uint32_t) {
                FolderScanDone(row, count);
            };
        }
        rows_.push_back(std::move(state));
    }
}

TCategory::~TCategory() = default;

bool TCategory::Busy() const {
    if (starting_) return true;
    for (const auto& row : rows_)
        if (row->busy) return true;
    return false;
}

void TCategory::Analyze() {
    if (Busy() || (decl_.ready && !decl_.ready())) return;
    starting_ = true;
    if (decl_.analyzeLocks) LockCategory();
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        StartRiskItem(row, "Analyzing...");
        Start(row, false);
    }
    starting_ = false;
    CategoryEndCheck();
}

void TCategory::Sweep() {
    if (Busy() || (decl_.ready && !decl_.ready())) return;
    const std::vector<std::size_t> order = SweepOrder();
    const auto checked = [this](std::size_t row) {
        return services_.controls.Get<TCheckBox>(decl_.rows[row].box).Checked();
    };
    bool anyChecked = false;
    for (std::size_t row : order) anyChecked = anyChecked || checked(row);
    if (!anyChecked) {
        if (decl_.emptySweep == EmptySweep::RunEndCheck) {
            LockCategory();
            CategoryEndCheck();
        }
        return;
    }
    starting_ = true;
    LockCategory();
    if (decl_.beforeSweep) decl_.beforeSweep();
    for (std::size_t row : order) {
        if (!checked(row)) continue;
        StartRiskItem(row, "Deleting...");
        Start(row, true);
    }
    starting_ = false;
    CategoryEndCheck();
}

void TCategory::SweepWhenIdle() {
    WaitWhile([this] { return Busy(); });
    Sweep();
}

std::vector<std::size_t> TCategory::SweepOrder() const {
    std::vector<std::size_t> order;
    if (decl_.sweepOrder.empty()) {
        for (std::size_t row = 0; row < rows_.size(); ++row) order.push_back(row);
    } else {
        for (int row : decl_.sweepOrder) order.push_back(static_cast<std::size_t>(row));
    }
    return order;
}

void TCategory::Start(std::size_t row, bool sweep) {
    const ItemWork& work = decl_.rows[row].work;
    if (const auto* scan = std::get_if<FolderScan>(&work)) return StartFolderScan(row, *scan, sweep);
    if (const auto* list = std::get_if<FileList>(&work)) return StartFileList(row, *list, sweep);
    FinishRiskItem(row, std::get<ItemRoutine>(work).run(sweep));
}

void TCategory::StartFolderScan(std::size_t row, const FolderScan& scan, bool sweep) {
    const std::string folder = scan.folder ? scan.folder() : std::string();
    if (folder.empty() || !DirectoryExists(folder)) {
        FinishRiskItem(row, scan.whenMissing ? scan.whenMissing(sweep) : kNotFound);
        return;
    }
    // A walk that destroys whatever it reports never runs on a drive or a
    // system folder, whatever location it was given.
    if (scan.recursive && services_.mayDestroyBelow && !services_.mayDestroyBelow(folder)) {
        FinishRiskItem(row, kNotFound);
        return;
    }
    RowState& state = *rows_[row];
    state.sweeping = sweep;
    if (sweep) state.root.emplace(folder);
    state.scanner->Directory = folder;
    if (state.scanner->Execute()) return;  // the item finishes in the walk's end event
    state.sweeping = false;
    FinishRiskItem(row, kNotFound);
}

void TCategory::StartFileList(std::size_t row, const FileList& list, bool sweep) {
    int count = 0;
    for (const std::string& file : list.files ? list.files() : std::vector<std::string>()) {
        if (FileSizeOf(file) < 0) continue;
        ++count;
        if (sweep) SecureDeleteFile(file, services_.removal());
    }
    FinishRiskItem(row, count == 0 ? std::string(kNotFound)
                                   : std::to_string(count) + (sweep ? list.unit.swept : list.unit.analysed));
}

void TCategory::FileFound(std::size_t row, const std::string& name, const std::string& path) {
    if (!rows_[row]->sweeping) return;
    const auto& scan = std::get<FolderScan>(decl_.rows[row].work);
    if (scan.spare && scan.spare(name)) return;
    const std::string fullName = JoinPath(path, name);
    if (scan.spareAt && scan.spareAt(fullName)) return;
    RemovalContext removal = services_.removal();
    removal.Root = rows_[row]->root ? &*rows_[row]->root : nullptr;
    SecureDeleteFile(fullName, removal);
}

void TCategory::FolderScanDone(std::size_t row, std::uint32_t count) {
    RowState& state = *rows_[row];
    const bool swept = state.sweeping;
    state.sweeping = false;
    const auto& scan = std::get<FolderScan>(decl_.rows[row].work);
    const long long total = static_cast<long long>(count) + (scan.afterWalk ? scan.afterWalk(swept) : 0);
    if (swept && scan.sweptText) return FinishRiskItem(row, scan.sweptText);
    FinishRiskItem(row, std::to_string(total) + (swept ? scan.unit.swept : scan.unit.analysed));
}

void TCategory::WaitForFolderScans() {
    WaitWhile([this] {
        for (const auto& row : rows_)
            if (row->scanner && row->scanner->Running()) return true;
        return false;
    });
}

void TCategory::ShowText(int label, std::string_view text) {
    if (TControl* control = services_.controls.Find(label)) control->SetText(text);
    ProcessMessages();
}

void TCategory::LockCategory() { SetControlsEnabled(false); }

// The new text is painted before the item's work begins.
void TCategory::StartRiskItem(std::size_t row, std::string_view text) {
    rows_[row]->busy = true;
    ShowText(decl_.rows[row].label, text);
}

void TCategory::FinishRiskItem(std::size_t row, std::string_view text) {
    if (TControl* control = services_.controls.Find(decl_.rows[row].label)) control->SetText(text);
    rows_[row]->busy = false;
    CategoryEndCheck();
}

// The controls come back once no listed row runs; while the rows are still
// being started the check waits for the last one.
void TCategory::CategoryEndCheck() {
    if (starting_) return;
    for (std::size_t row = 0; row < rows_.size(); ++row)
        if (decl_.rows[row].inEndCheck && rows_[row]->busy) return;
    SetControlsEnabled(true);
}

void TCategory::SetControlsEnabled(bool enabled) {
    for (int id : {decl_.analyzeButton, decl_.sweepButton, services_.sweepAllButton})
        if (TControl* control = services_.controls.Find(id)) control->SetEnabled(enabled);
    services_.menu.SetEnabled(decl_.quickSweepItem, enabled);
    services_.menu.SetEnabled(services_.sweepAllItem, enabled);
}

std::vector<int> TCategory::GovernedBoxes() const {
    std::vector<int> boxes;
    for (const CategoryRow& row : decl_.rows) {
        boxes.push_back(row.box);
        if (row.alsoGoverns) boxes.push_back(row.alsoGoverns);
    }
    return boxes;
}

void TCategory::AllBoxClick() {
    const bool all = services_.controls.Get<TCheckBox>(decl_.allBox).Checked();
    for (int id : GovernedBoxes()) {
        TCheckBox& box = services_.controls.Get<TCheckBox>(id);
        box.SetChecked(all);
        box.SetEnabled(!all);
    }
}

ItemRoutine RegistryRoutine(std::function<int(bool sweep)> item, const char* sweptSuffix) {
    return {[item = std::move(item), sweptSuffix](bool sweep) {
        return std::to_string(item(sweep)) + (sweep ? sweptSuffix : kItems.analysed);
    }};
}


}  // namespace tarnwell
