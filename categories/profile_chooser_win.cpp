#include "categories/profile_chooser.h"

#include "app/path_macros.h"
#include "ui/message_pump.h"

namespace tarnwell {

TProfileChooser::TProfileChooser(TComboBox& combo) : combo_(combo) {
    finder_.ScanStrategy = TScanStrategy::ssSpecifiedDir;
    finder_.Files = "*";
    finder_.Attributes = faDirectory;
    finder_.Recursive = false;
    finder_.OnFileFound = [this](const std::string& name, const std::string&, std::int32_t, std::int32_t, double) {
        combo_.AddItem(name);
    };
    finder_.OnProcessDone = [this](TBaseScanner&, std::uint32_t count, std::uint32_t) { ProcessDone(count); };
    combo_.OnChange = [this] { ComboChange(); };
}

void TProfileChooser::Scan(const std::string& root) {
    finder_.Directory = WithTrailingBackslash(root);
    finder_.Execute();
}

void TProfileChooser::ScanNewRoot(const std::string& root) {
    // What a walk of the old root still reports must not reach the list.
    finder_.Stop();
    WaitWhile([this] { return finder_.Running(); });
    combo_.Tag = 0;
    combo_.Clear();
    Scan(root);
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
