#include "shredder/shredder.h"

#include <algorithm>
#include <cctype>

#include "engine/file_info_win.h"
#include "engine/removal_root_win.h"
#include "base/file_names.h"
#include "base/handles.h"
#include "ui/message_pump.h"
#include "base/win.h"

namespace tarnwell {

namespace {

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

TShredder::TShredder(TListBox& list, TButton& shredButton, ShredderPrompts prompts,
                     std::function<RemovalContext()> removal)
    : list_(list), shredButton_(shredButton), prompts_(std::move(prompts)), removal_(std::move(removal)) {}

TShredder::~TShredder() = default;

void TShredder::AddDirBTNClick() {
    if (!Idle() || !prompts_.PickDirectory) return;
    const std::optional<std::string> picked = prompts_.PickDirectory();
    if (!picked || picked->empty()) return;
    std::string directory = *picked;
    if (directory.back() != '\\' && directory.back() != ':') directory += '\\';
    if (directory.size() <= 3) {
        // "C:\" and what a folder dialog may return for a drive ("C:").
        prompts_.Inform(kDriveRefusal);
        return;
    }
    const std::string upper = Upper(directory);
    const bool looksProtected = upper.find("WINDOWS") != std::string::npos ||
                                upper.find("DOCUMENTS AND SETTINGS") != std::string::npos ||
                                upper.find("MY DOCUMENTS") != std::string::npos;
    if (looksProtected && !prompts_.Confirm(kProtectedQuestion)) return;
    list_.AddItem(directory);
}

void TShredder::AddFileBTNClick() {
    if (!Idle() || !prompts_.PickFiles) return;
    for (const std::string& file : prompts_.PickFiles()) list_.AddItem(file);
}

void TShredder::RemoveFileBTNClick() {
    if (!Idle()) return;
    for (int i = list_.ItemCount() - 1; i >= 0; --i)
        if (::SendMessageA(list_.Handle(), LB_GETSEL, static_cast<WPARAM>(i), 0) > 0)
            ::SendMessageA(list_.Handle(), LB_DELETESTRING, static_cast<WPARAM>(i), 0);
}

void TShredder::ClearallBTNClick() {
    if (Idle()) list_.Clear();
}

void TShredder::StopBTNClick() {
    if (!Idle()) stopRequested_ = true;
}

// Entries go in reverse list order and each leaves the list once handled,
// whatever became of it: the shrinking list is the progress display.
void TShredder::ShredBTNClick() {
    if (!prompts_.Confirm(kShredQuestion)) return;
    stopRequested_ = false;  // a Stop from an earlier run never cancels this one
    runActive_ = true;
    survivors_ = 0;
    for (int i = list_.ItemCount() - 1; i >= 0; --i) {
        if (stopRequested_) break;
        try {
            ShredEntry(list_.Item(i));
        } catch (...) {
            // A failure with one entry does not stop the others.
        }
        ::SendMessageA(list_.Handle(), LB_DELETESTRING, static_cast<WPARAM>(i), 0);
        if (stopRequested_) break;
    }
    stopRequested_ = false;
    runListed_ = true;
    ReportRunEnd();
}

// A run ends when its list has been handled and its last folder walk has
// ended; only then is it known how many files survived.
void TShredder::ReportRunEnd() {
    if (!runActive_ || !runListed_ || runningWalks_ > 0) return;
    runActive_ = runListed_ = false;
    if (survivors_ == 0 || !prompts_.Inform) return;
    prompts_.Inform(SurvivorsMessage(survivors_));
}

void TShredder::Destroy(const std::string& fileName, const TRemovalRoot* root) {
    RemovalContext removal = removal_();
    removal.Root = root;
    if (SecureDeleteFile(fileName, removal) == RemovalOutcome::Survived) ++survivors_;
}

std::string SurvivorsMessage(int count) {
    return std::to_string(count) +
           " file(s) could not be destroyed. They may be in use by another program, read-only, or links to files "
           "elsewhere; close the programs that use them and shred them again.";
}

void TShredder::ShredEntry(const std::string& entry) {
    // The user listed the link itself: it goes, what it leads to stays.
    if (IsLinkItself(entry)) {
        if (!RemoveLink(entry)) ++survivors_;
    } else if (IsFolder(entry)) {
        StartDirectoryShred(entry);
    } else if (IsPlainFile(entry)) {
        removingFile_ = true;
        UpdateShredButton();
        Destroy(entry, nullptr);
        removingFile_ = false;
        UpdateShredButton();
    }
}

// Folder walks are counted: the button comes back, and removing stops,
// only when the last of them has ended.
void TShredder::StartDirectoryShred(const std::string& directory) {
    auto root = std::make_unique<TRemovalRoot>(directory);
    const TRemovalRoot* walkRoot = root.get();
    auto scanner = std::make_unique<TBaseScanner>();
    scanner->Directory = directory;
    scanner->Files = "*";
    scanner->ScanStrategy = TScanStrategy::ssSpecifiedDir;
    scanner->ScanDrives = sdHard;
    scanner->Recursive = true;
    scanner->Attributes = 0;  // every file, whatever its attributes, is overwritten
    scanner->Tag = -1;
    scanner->OnFileFound = [this, walkRoot](const std::string& name, const std::string& path, std::int32_t,
                                            std::int32_t, double) {
        if (!SweepRunning()) return;
        try {
            Destroy(name.empty() ? path : JoinPath(path, name), walkRoot);
        } catch (...) {
        }
    };
    scanner->OnProcessDone = [this](TBaseScanner& sender, std::uint32_t, std::uint32_t) { WalkEnded(sender.Directory); };
    ++runningWalks_;
    UpdateShredButton();
    if (!scanner->Execute()) {
        --runningWalks_;
        UpdateShredButton();
        return;
    }
    scanners_.push_back(std::move(scanner));
    roots_.push_back(std::move(root));
}

void TShredder::WalkEnded(const std::string& directory) {
    if (SweepRunning() && IsFolder(directory)) RemoveEmptySubfolders(directory);
    --runningWalks_;
    UpdateShredButton();
    ReportRunEnd();
}

void TShredder::UpdateShredButton() { shredButton_.SetEnabled(!removingFile_ && runningWalks_ == 0); }

void RemoveEmptySubfolders(const std::string& directory) {
    WIN32_FIND_DATAA entry;
    FindHandle listing(::FindFirstFileA(JoinPath(directory, "*.*").c_str(), &entry));
    if (!listing) return;
    std::vector<std::string> folders;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == ".." || !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        // A link to a folder elsewhere is left as it is, link and target.
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
        folders.push_back(JoinPath(directory, name));
    } while (::FindNextFileA(listing.get(), &entry));
    listing.reset();
    for (const std::string& folder : folders) {
        RemoveEmptySubfolders(folder);
        ::RemoveDirectoryA(folder.c_str());  // fails, harmlessly, while anything is left inside
        ProcessMessages();
    }
}

}  // namespace tarnwell
