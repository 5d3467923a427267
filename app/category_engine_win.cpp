#include "app/category_engine.h"

#include "base/file_names.h"
#include "engine/file_info_win.h"
#include "engine/removal_reason_win.h"
#include "engine/removal_root_win.h"
#include "ui/message_pump.h"

namespace tarnwell {

struct TCategory::RowState {
    // Entries of the row that run; its label shows "Analyzing..." or
    // "Deleting..." while a single item runs.
    int inFlight = 0;
    std::string closing;  // a group's last word for this run
    std::string lastText;  // what the row's risk text shows
    ItemReport report;     // what the row's last run found
    bool routineRan = false;  // an entry that keeps no list ran
};

// One folder walk and what it needs until it has ended: whether it destroys
// what it reports is decided when it starts, for this walk alone.
struct TCategory::Walk {
    std::size_t row = 0;
    FolderScan scan;
    bool sweeping = false;
    std::optional<TRemovalRoot> root;  // the sweeping walk's folder, resolved when it started
    TBaseScanner scanner;
    bool ended = false;
};

namespace {

constexpr const char* kNotFound = "Not Found.";

// A caption as it reads: "&&" is a single "&", a lone "&" only marks the
// access key.
std::string WithoutAccessKeys(const std::string& caption) {
    std::string text;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        text += caption[i];
    }
    return text;
}

// The short name of a registry root, as registry editors write it.
std::string RootName(HKEY root) {
    if (root == HKEY_CURRENT_USER) return "HKCU";
    if (root == HKEY_LOCAL_MACHINE) return "HKLM";
    if (root == HKEY_USERS) return "HKU";
    if (root == HKEY_CLASSES_ROOT) return "HKCR";
    return "?";
}

// "2026-12-08 14:03", the local time now.
std::string LocalTimeText() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char text[32];
    wsprintfA(text, "%04u-%02u-%02u %02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute);
    return text;
}

// The size of a file that is not a folder, or none for a folder or a name
// that is not there.
std::optional<std::int64_t> PlainFileSize(const std::string& file) {
    if (!IsPlainFile(file)) return std::nullopt;
    const std::int64_t size = FileSizeOf(file);
    return size < 0 ? std::nullopt : std::optional<std::int64_t>(size);
}

}  // namespace

TCategory::TCategory(CategoryServices services, CategoryDecl decl)
    : services_(std::move(services)), decl_(std::move(decl)) {
    for (std::size_t row = 0; row < decl_.rows.size(); ++row) rows_.push_back(std::make_unique<RowState>());
}

TCategory::~TCategory() = default;

void TCategory::AddRow(CategoryRow row) {
    decl_.rows.push_back(std::move(row));
    rows_.push_back(std::make_unique<RowState>());
}

bool TCategory::Busy() const {
    if (starting_) return true;
    for (const auto& row : rows_)
        if (row->inFlight > 0) return true;
    return false;
}

void TCategory::Analyze() {
    if (Busy() || (decl_.ready && !decl_.ready())) return;
    ReleaseEndedWalks();
    starting_ = true;
    if (decl_.analyzeLocks) LockCategory();
    for (std::size_t row = 0; row < rows_.size(); ++row) Start(row, false);
    starting_ = false;
    CategoryEndCheck();
}

void TCategory::Sweep() {
    if (Busy() || (decl_.ready && !decl_.ready())) return;
    const std::vector<std::size_t> order = SweepOrder();
    bool anyChecked = false;
    for (std::size_t row : order) anyChecked = anyChecked || RowChecked(row);
    if (!anyChecked) {
        if (decl_.emptySweep == EmptySweep::RunEndCheck) {
            LockCategory();
            CategoryEndCheck();
        }
        return;
    }
    ReleaseEndedWalks();
    starting_ = true;
    LockCategory();
    if (decl_.beforeSweep) decl_.beforeSweep();
    for (std::size_t row : order)
        if (RowChecked(row)) Start(row, true);
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
    BeginReport(row, sweep);
    const ItemWork& work = decl_.rows[row].work;
    if (!std::holds_alternative<ItemGroup>(work)) StartRiskItem(row, sweep ? "Deleting..." : "Analyzing...");
    std::visit([&](const auto& part) { StartWork(row, part, sweep); }, work);
}

// The row is held busy while its entries start, so that one ending at once
// cannot end the row before the next has begun.
void TCategory::StartWork(std::size_t row, const ItemGroup& group, bool sweep) {
    EntryRun run = group.read ? group.read(sweep) : EntryRun{};
    rows_[row]->closing = std::move(run.closing);
    if (run.entries.empty()) {
        if (!rows_[row]->closing.empty()) ShowRowText(row, rows_[row]->closing);
        return;
    }
    BeginEntry(row);
    for (const EntryWork& entry : run.entries) {
        if (sweep && !RowChecked(row)) break;
        BeginEntry(row);
        std::visit([&](const auto& part) { StartWork(row, part, sweep); }, entry);
    }
    EntryEnded(row, std::nullopt);
}

void TCategory::StartWork(std::size_t row, const ItemRoutine& routine, bool sweep) {
    FinishRiskItem(row, RunRoutine(row, routine, sweep));
}

void TCategory::StartWork(std::size_t row, const FolderScan& scan, bool sweep) {
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
    auto walk = std::make_unique<Walk>();
    walk->row = row;
    walk->scan = scan;
    walk->sweeping = sweep;
    if (sweep) walk->root.emplace(folder);
    TBaseScanner& scanner = walk->scanner;
    SetUpFolderWalk(scanner);
    scanner.Files = scan.files;
    scanner.Recursive = scan.recursive;
    scanner.Directory = folder;
    Walk* started = walk.get();
    scanner.OnFileFound = [this, started](const std::string& name, const std::string& path,
                                          std::int32_t attributes, std::int32_t size, double) {
        FileFound(*started, name, path, attributes, static_cast<std::uint32_t>(size));
    };
    scanner.OnProcessDone = [this, started](TBaseScanner&, std::uint32_t count, std::uint32_t) {
        WalkEnded(*started, count);
    };
    walks_.push_back(std::move(walk));
    if (scanner.Execute()) return;  // the entry finishes in the walk's end event
    walks_.pop_back();
    FinishRiskItem(row, kNotFound);
}

void TCategory::StartWork(std::size_t row, const FileList& list, bool sweep) {
    const std::optional<std::vector<std::string>> files = list.files ? list.files() : std::nullopt;
    if (!files) return FinishRiskItem(row, list.whenMissing);
    long long bytes = 0;
    bool survived = false;
    ItemReport& report = rows_[row]->report;
    for (const std::string& file : *files) {
        const std::optional<std::int64_t> size = PlainFileSize(file);
        if (!size) continue;
        bytes += *size;
        const std::size_t slash = file.find_last_of('\\');
        Finding finding{slash == std::string::npos ? file : file.substr(slash + 1),
                        slash == std::string::npos ? std::string() : file.substr(0, slash), *size, FindingKind::File, {}};
        report.found.Add(finding);
        if (!sweep) continue;
        const RemovalOutcome outcome = SecureDeleteFile(file, services_.removal());
        survived = survived || outcome == RemovalOutcome::Survived;
        RecordSweep(report, std::move(finding), outcome, nullptr);
    }
    const bool deleted = sweep && !(survived && list.survivorReadsAsAnalysis);
    FinishRiskItem(row, std::to_string(bytes) + (deleted ? list.unit.swept : list.unit.analysed));
}

void TCategory::FileFound(Walk& walk, const std::string& name, const std::string& path, std::int32_t attributes,
                          std::int64_t size) {
    ItemReport& report = rows_[walk.row]->report;
    const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // The walk's own folder may come with a trailing backslash, its
    // sub-folders without: listed alike. Nothing is copied here for an
    // analysis beyond what the list keeps.
    std::string_view where = path;
    if (where.size() > 3 && where.back() == '\\') where.remove_suffix(1);
    const FindingKind kind = folder ? FindingKind::Folder : FindingKind::File;
    report.found.Add(name, where, folder ? -1 : size, kind);
    if (!walk.sweeping || folder) return;
    Finding finding{name, std::string(where), size, kind, {}};
    const FolderScan& scan = walk.scan;
    const std::string fullName = JoinPath(path, name);
    if ((scan.spare && scan.spare(name)) || (scan.spareAt && scan.spareAt(fullName))) {
        // Spared files are folder descriptions or what the keep lists name.
        finding.remark = IsFolderDescription(name) ? "the folder's description, kept" : "kept by the Cookie Keeper";
        report.stillThere.Add(finding);
        return;
    }
    RemovalContext removal = services_.removal();
    removal.Root = walk.root ? &*walk.root : nullptr;
    RecordSweep(report, std::move(finding), SecureDeleteFile(fullName, removal), removal.Root);
}

// A sweep's receipt comes from the removal routine's own answer for each
// file; a file it left is looked at once more to say why.
void TCategory::RecordSweep(ItemReport& report, Finding finding, RemovalOutcome outcome, const TRemovalRoot* root) {
    report.checked = true;
    if (outcome == RemovalOutcome::Destroyed) {
        ++report.removed;
        return;
    }
    if (outcome != RemovalOutcome::Survived) return;
    finding.remark = SurvivalReason(FindingPath(finding), root);
    report.stillThere.Add(finding);
}

void TCategory::WalkEnded(Walk& walk, std::uint32_t count) {
    walk.ended = true;
    const bool swept = walk.sweeping;
    const FolderScan& scan = walk.scan;
    const long long total = static_cast<long long>(count) + (scan.afterWalk ? scan.afterWalk(swept) : 0);
    if (swept && scan.sweptText) return FinishRiskItem(walk.row, scan.sweptText);
    FinishRiskItem(walk.row, std::to_string(total) + (swept ? scan.unit.swept : scan.unit.analysed));
}

// A walk still inside its end event counts as running and stays.
void TCategory::ReleaseEndedWalks() {
    std::erase_if(walks_, [](const std::unique_ptr<Walk>& walk) { return walk->ended && !walk->scanner.Running(); });
}

void TCategory::WaitForFolderScans() {
    WaitWhile([this] {
        for (const auto& walk : walks_)
            if (walk->scanner.Running()) return true;
        return false;
    });
}

void TCategory::ShowText(int label, std::string_view text) {
    if (TControl* control = services_.controls.Find(label)) control->SetText(text);
    ProcessMessages();
}

void TCategory::LockCategory() { SetControlsEnabled(false); }

bool TCategory::RowChecked(std::size_t row) const {
    const CategoryRow& decl = decl_.rows[row];
    if (decl.box == 0) return decl.view.checked && decl.view.checked();
    return services_.controls.Get<TCheckBox>(decl.box).Checked();
}

void TCategory::ShowRowText(std::size_t row, std::string_view text) {
    rows_[row]->lastText = std::string(text);
    const CategoryRow& decl = decl_.rows[row];
    if (decl.box == 0) {
        if (decl.view.show) decl.view.show(text);
    } else if (TControl* control = services_.controls.Find(decl.label)) {
        control->SetText(text);
    }
}

// The new text is painted before the item's work begins.
void TCategory::StartRiskItem(std::size_t row, std::string_view text) {
    BeginEntry(row);
    ShowRowText(row, text);
    ProcessMessages();
}

void TCategory::BeginEntry(std::size_t row) {
    if (rows_[row]->inFlight++ == 0 && decl_.rows[row].view.markBusy) decl_.rows[row].view.markBusy(true);
}

void TCategory::FinishRiskItem(std::size_t row, std::string_view text) { EntryEnded(row, text); }

// Each entry that ends shows its text; the row is done with its last one.
void TCategory::EntryEnded(std::size_t row, std::optional<std::string_view> text) {
    RowState& state = *rows_[row];
    if (text) ShowRowText(row, *text);
    if (--state.inFlight == 0) {
        if (!state.closing.empty()) ShowRowText(row, state.closing);
        EndReport(row);
        if (decl_.rows[row].view.markBusy) decl_.rows[row].view.markBusy(false);
    }
    CategoryEndCheck();
}

// The controls come back once no listed row runs; while the rows are still
// being started the check waits for the last one.
void TCategory::CategoryEndCheck() {
    if (starting_) return;
    for (std::size_t row = 0; row < rows_.size(); ++row)
        if (decl_.rows[row].inEndCheck && rows_[row]->inFlight > 0) return;
    ReleaseEndedWalks();
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
        if (row.box == 0) continue;
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
    for (const CategoryRow& row : decl_.rows)
        if (row.box == 0 && row.view.govern) row.view.govern(all);
}

// The registry items report what they count into the running item's
// report; a routine that lets messages run may start another meanwhile,
// so the sink is put back as it was afterwards.
std::string TCategory::RunRoutine(std::size_t row, const ItemRoutine& routine, bool sweep) {
    rows_[row]->routineRan = true;
    RegistryFindingSink* sink = services_.registryHooks.Found.get();
    if (!sink) return routine.run(sweep);
    auto previous = std::move(sink->found);
    ItemReport& report = rows_[row]->report;
    sink->found = [&report](HKEY root, const std::string& key, const std::string& name, bool isKey) {
        report.found.Add(name.empty() ? "(Default)" : name, RootName(root) + (key.empty() ? "" : "\\" + key), -1,
                         isKey ? FindingKind::RegistryKey : FindingKind::RegistryValue);
    };
    std::string text = routine.run(sweep);
    sink->found = std::move(previous);
    return text;
}

// A run starts a new report; the details window shows it as it fills.
void TCategory::BeginReport(std::size_t row, bool sweep) {
    RowState& state = *rows_[row];
    state.routineRan = false;
    ItemReport& report = state.report;
    report.caption = RowCaption(row);
    report.ran = false;
    report.swept = sweep;
    report.summary.clear();
    report.found.Clear();
    report.stillThere.Clear();
    report.checked = false;
    report.removed = 0;
}

void TCategory::EndReport(std::size_t row) {
    RowState& state = *rows_[row];
    ItemReport& report = state.report;
    report.ran = true;
    report.label = state.lastText;
    report.when = LocalTimeText();
    if (state.routineRan && report.found.Count() == 0)
        report.summary = std::string("This item ") + (report.swept ? "was swept" : "was analysed") +
                         " as a whole and keeps no list of single entries: the label gives its result.";
}

std::string TCategory::RowCaption(std::size_t row) const {
    const CategoryRow& decl = decl_.rows[row];
    if (decl.box == 0) return decl.view.caption ? decl.view.caption() : std::string();
    const TControl* box = services_.controls.Find(decl.box);
    return box ? WithoutAccessKeys(box->Text()) : std::string();
}

// A copy: the row may run again while its details are open.
ItemReport TCategory::Report(std::size_t row) const {
    ItemReport report = rows_[row]->report;
    if (report.caption.empty()) report.caption = RowCaption(row);
    return report;
}

std::vector<std::pair<std::size_t, int>> TCategory::RowLabels() const {
    std::vector<std::pair<std::size_t, int>> labels;
    for (std::size_t row = 0; row < decl_.rows.size(); ++row)
        if (decl_.rows[row].label != 0) labels.emplace_back(row, decl_.rows[row].label);
    return labels;
}

ItemRoutine RegistryRoutine(std::function<int(bool sweep)> item, const char* sweptSuffix) {
    return {[item = std::move(item), sweptSuffix](bool sweep) {
        return std::to_string(item(sweep)) + (sweep ? sweptSuffix : kItems.analysed);
    }};
}


}  // namespace tarnwell
