#pragma once
// The "User Profile:" combo of a browser tab: the folders below the
// browser's profiles root, found by a walk, and the one the user chose.
// The choice is kept as an index in the combo's Tag, which the settings
// store restores, so it survives a restart; an index beyond the profiles
// found chooses nothing.
#include <functional>
#include <string>

#include "engine/scanner.h"
#include "ui/controls.h"

namespace tarnwell {

class TProfileChooser {
public:
    // Lists the sub-folders of the root.
    explicit TProfileChooser(TComboBox& combo);
    // Lists the root's entries of any kind that `offered` accepts.
    TProfileChooser(TComboBox& combo, std::function<bool(const std::string& name)> offered);

    // Lists the profiles below `root` (with its trailing backslash) and,
    // once the walk ends, chooses the one the combo's Tag names.
    void Scan(const std::string& root);
    // Lists the profiles again, below a root that may have changed; with
    // `firstProfile` the first one is chosen, not the stored one.
    void Rescan(const std::string& root, bool firstProfile);
    // A new root set by the user: its first profile is chosen.
    void ScanNewRoot(const std::string& root) { Rescan(root, true); }
    // The name chosen in the combo; empty when none is.
    std::string ChosenName() const;

    // The chosen profile folder, without a trailing backslash; empty until
    // a walk has found one.
    const std::string& ProfilePath() const { return profilePath_; }
    bool Scanning() const { return finder_.Running(); }

private:
    void ProcessDone(std::uint32_t count);
    void ComboChange();

    TComboBox& combo_;
    std::function<bool(const std::string&)> offered_;
    TBaseScanner finder_;
    std::string profilePath_;
};

}  // namespace tarnwell
