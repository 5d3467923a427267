#pragma once
// Whole folders removed through the shell, as the Flash Player's site
// folders are: silently, with no window, no question and no Recycle Bin.
// A link met on the way is removed as a link and never followed, so the
// shell's own walk cannot reach anything outside the folder.
#include <functional>
#include <string>

namespace tarnwell {

// Removes `folder` with everything in it. A folder that is itself a link is
// removed as a link alone. When a link inside cannot be removed as a link,
// the folder is left as it is. True when the folder is gone.
bool RemoveFolderTree(const std::string& folder);

// Removes every folder directly inside `folder` the same way, each with
// everything in it; files directly inside and `folder` itself stay.
// `betweenEntries` runs after each (to let the window's messages run).
void RemoveSubfolderTrees(const std::string& folder, const std::function<void()>& betweenEntries);

}  // namespace tarnwell
