#pragma once
// The walk behind the locate dialog: every folder below a root whose name
// matches a pattern, a folder's own matches before those of its
// sub-folders. The walk hands control back to its caller every few
// entries, so that a dialog stays alive during a search of a whole drive,
// and ends as soon as the caller says so.
#include <functional>
#include <string>

namespace tarnwell {

struct FolderSearchEvents {
    // A matching folder, as the searched folder with a trailing backslash
    // followed by the entry's name.
    std::function<void(const std::string& folder)> found;
    // Asked every few entries; false stops the walk.
    std::function<bool()> keepGoing;
};

// Searches `root` and, recursively, every folder below it except links,
// which could lead out of the tree or round in a circle. False when
// `keepGoing` stopped the walk.
bool SearchFolders(const std::string& root, const std::string& pattern, const FolderSearchEvents& events);

}  // namespace tarnwell
