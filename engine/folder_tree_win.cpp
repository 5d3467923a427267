#include "engine/folder_tree_win.h"

#include <vector>

#include "base/file_names.h"
#include "base/handles.h"
#include "base/win.h"

#include <shellapi.h>

#include "engine/file_info_win.h"
#include "engine/removal_root_win.h"

namespace tarnwell {

namespace {

// Takes every link out of the tree below `folder` before the shell walks
// it; false when one could not be taken out.
bool RemoveLinksBelow(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    FindHandle listing(::FindFirstFileA(JoinPath(folder, "*.*").c_str(), &entry));
    if (!listing) return true;
    bool clean = true;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = JoinPath(folder, name);
        if (IsLinkItself(path)) {
            clean = RemoveLink(path) && clean;
        } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            clean = RemoveLinksBelow(path) && clean;
        }
    } while (::FindNextFileA(listing.get(), &entry));
    return clean;
}

}  // namespace

bool RemoveFolderTree(const std::string& folder) {
    if (IsLinkItself(folder)) return RemoveLink(folder);
    if (!RemoveLinksBelow(folder)) return false;
    // The shell takes a list of names, each ended by a NUL, the list by a
    // second one.
    std::string from = folder;
    from.append(2, '\0');
    SHFILEOPSTRUCTA operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    ::SHFileOperationA(&operation);
    return !IsFolder(folder);
}

// The listing is taken whole first: the shell changes the folder while
// the subfolders go.
void RemoveSubfolderTrees(const std::string& folder, const std::function<void()>& betweenEntries) {
    WIN32_FIND_DATAA entry;
    FindHandle listing(::FindFirstFileA(JoinPath(folder, "*.*").c_str(), &entry));
    if (!listing) return;
    std::vector<std::string> subfolders;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) subfolders.push_back(JoinPath(folder, name));
    } while (::FindNextFileA(listing.get(), &entry));
    listing.reset();
    for (const std::string& subfolder : subfolders) {
        RemoveFolderTree(subfolder);
        if (betweenEntries) betweenEntries();
    }
}

}  // namespace tarnwell
