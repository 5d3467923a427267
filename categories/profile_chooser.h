#pragma once
// The "User Profile:" combo of a browser tab: the folders below the
// browser's profiles root, found by a walk, and the one the user chose.
// The choice is kept as an index in the combo's Tag, which the settings
// store restores, so it survives a restart; an index beyond the profiles
// found chooses nothing.
#include <string>

#include "engine/scanner.h"
#include "ui/controls.h"

namespace tarnwell {

class TProfileChooser {
public:
    explicit TProfileChooser(TComboBox& combo);

    // Lists the profiles below `root` (with its trailing backslash) and,
    // once the walk ends, chooses the one the combo's Tag names.
    void Scan(const std::string& root);
    // A new root set by the user: its first profile is chosen.
    void ScanNewRoot(const std::string& root);

    // The chosen profile folder, without a trailing backslash; empty until
    // a walk has found one.
    const std::string& ProfilePath() const { return profilePath_; }
    bool Scanning() const { return finder_.Running(); }

private:
    void ProcessDone(std::uint32_t count);
    void ComboChange();

    TComboBox& combo_;
    TBaseScanner finder_;
    std::string profilePath_;
};

}  // namespace tarnwell
