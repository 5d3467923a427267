#include "categories/profile_chooser.h"

#include "app/path_macros.h"
#include "ui/message_pump.h"

namespace tarnwell {

TProfileChooser::TProfileChooser(TComboBox& combo) : TProfileChooser(combo, nullptr) {
    finder_.Attributes = faDirectory;
}

TProfileChooser::TProfileChooser(TComboBox& combo, std::function<bool(const std::string& name)> offered)
    : combo_(combo), offered_(std::move(offered)) {
    finder_.ScanStrategy = TScanStrategy::ssSpecifiedDir;
    finder_.Files = "*";
    finder_.Attributes = 0;
    finder_.Recursive = false;
    finder_.OnFileFound = [this](const std::string& name, const std::string&, std::int32_t, std::int32_t, double) {
        if (!offered_ || offered_(name)) combo_.AddItem(name);
    };
    finder_.OnProcessDone = [this](TBaseScanner&, std::uint32_t count, std::uint32_t) { ProcessDone(count); };
    combo_.OnChange = [this] { ComboChange(); };
}

void TProfileChooser::Scan(const std::string& root) {
    finder_.Directory = WithTrailingBackslash(root);
    finder_.Execute();
}

void TProfileChooser::Rescan(const std::string& root, bool firstProfile) {
    // What a walk of the old root still reports must not reach the list.
    finder_.Stop();
    WaitWhile([this] { return finder_.Running(); });
    if (firstProfile) combo_.Tag = 0;
    combo_.Clear();
    Scan(root);
}

std::string TProfileChooser::ChosenName() const {
    const int index = combo_.ItemIndex();
    return index < 0 ? std::string() : combo_.Item(index);
}

// A stored index beyond the profiles found leaves the path as it was.
void TProfileChooser::ProcessDone(std::uint32_t count) {
    if (count == 0) return;
    const int index = combo_.Tag;
    if (index < 0 || index >= combo_.ItemCount()) return;
    combo_.SetItemIndex(index);
    profilePath_ = finder_.Directory + combo_.Item(index);
}

void TProfileChooser::ComboChange() {
    const int index = combo_.ItemIndex();
    if (index < 0) return;
    combo_.Tag = index;
    profilePath_ = finder_.Directory + combo_.Item(index);
}

}  // namespace tarnwell
