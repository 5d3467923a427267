#pragma once
// The folder a removal was pointed at, resolved once when the removal
// starts, and the test that a file it is about to destroy really lies
// below it. A folder that is itself reached through a link (a mapped or
// substituted drive, a junction the system made, the user's own link) is
// taken as named; a link inside it is never followed.
#include <optional>
#include <string>

#include "base/win.h"

namespace tarnwell {

class TRemovalRoot {
public:
    // `folder` as the item, the Shredder entry or the caller named it.
    explicit TRemovalRoot(const std::string& folder);

    // Whether the open file `file`, reached by the name `path`, lies below
    // the root. Where the system can say where a handle's file lies
    // (Windows Vista on), its final path must lie below the root's; where
    // it cannot, the name must lie below the root as named and no folder
    // between the root and the file may be a link.
    bool Holds(HANDLE file, const std::string& path) const;

    const std::string& Named() const { return named_; }

private:
    std::string named_;                // full path as named
    std::optional<std::string> final_;  // where it really lies, where the system says
    bool finalKnown_ = false;          // the system can name a handle's file
};

// Whether `path` is itself a link (a junction, a symbolic link, or a name
// the system resolves to a file elsewhere): removing it must remove the
// link, never what it leads to.
bool IsLinkItself(const std::string& path);

// Removes the link `path` (file or folder link) without touching its
// target; false, with the link left, when it cannot be removed as a link.
bool RemoveLink(const std::string& path);

// The full form of a path (drive and current folder applied, "." and ".."
// resolved); the path as given when that fails.
std::string FullPath(const std::string& path);

}  // namespace tarnwell
