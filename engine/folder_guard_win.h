#pragma once
// The folders of this system that a recursive removal must never start on
// or above, and the check of a location against them. The rule itself is
// portable (engine/folder_guard.h); this side finds the folders and
// resolves a location the way the walk will read it.
#include <optional>
#include <string>
#include <vector>

#include "engine/folder_guard.h"

namespace tarnwell {

class TFolderGuard {
public:
    // Collects the Windows folder (the shared one too, where the system
    // tells them apart), the system folder, the program-files folders the
    // registry names and `profileRoot` (the user's profile folder on the NT
    // family, the Windows folder on the 95 family), each as given and in
    // its full long form. One that cannot be read is left out; drive and
    // share roots are refused whatever is collected.
    explicit TFolderGuard(const std::string& profileRoot);

    // Whether a walk may destroy everything below `folder`. The folder is
    // made absolute as the walk will read it (with a separator appended,
    // so "C:" is the drive's root, and "\" or "temp" resolve against the
    // current drive and folder), and short (8.3) names in it are expanded;
    // a location that cannot be resolved, a root, a protected folder or a
    // folder that contains one is refused.
    bool MayDestroyBelow(const std::string& folder) const { return !RefusalBelow(folder); }

    // Why MayDestroyBelow refuses `folder`: NotFullPath where it cannot be
    // resolved, else what the portable rule says of its full form or,
    // failing that, of its long form; none where it allows the walk.
    std::optional<FolderRefusal> RefusalBelow(const std::string& folder) const;

    // The protected folders as collected, with their kinds, for the
    // refusal texts, diagnostics and tests.
    const std::vector<ProtectedFolder>& ProtectedFolders() const { return protected_; }

private:
    void Protect(const std::string& folder, KeptFolder kind);

    std::vector<ProtectedFolder> protected_;
};

}  // namespace tarnwell
