#include "categories/aol_locate_search.h"

#include "app/known_locations.h"
#include "app/path_macros.h"
#include "base/handles.h"

namespace tarnwell {

namespace {

// Few enough that a click is answered at once even where each listing is
// slow (a network drive), many enough that the queue costs nothing.
constexpr int kEntriesBetweenPauses = 8;

class FolderSearch {
public:
    FolderSearch(const std::string& pattern, const FolderSearchEvents& events) : pattern_(pattern), events_(events) {}

    bool Search(const std::string& root) {
        const std::string folder = WithTrailingBackslash(root);
        return ListMatches(folder) && Descend(folder);
    }

private:
    // Counts one entry; every few entries the caller may run its messages
    // or stop the walk.
    bool Pause() {
        if (++entries_ < kEntriesBetweenPauses) return true;
        entries_ = 0;
        return !events_.keepGoing || events_.keepGoing();
    }

    // The pattern also matches files; only names that are folders count.
    bool ListMatches(const std::string& folder) {
        WIN32_FIND_DATAA entry;
        FindHandle find(::FindFirstFileA((folder + pattern_).c_str(), &entry));
        if (!find) return Pause();
        do {
            const std::string path = folder + entry.cFileName;
            if (DirectoryExists(path) && events_.found) events_.found(path);
            if (!Pause()) return false;
        } while (::FindNextFileA(find.get(), &entry));
        return true;
    }

    bool Descend(const std::string& folder) {
        WIN32_FIND_DATAA entry;
        FindHandle find(::FindFirstFileA((folder + "*.*").c_str(), &entry));
        if (!find) return Pause();
        do {
            if (IsSubFolder(entry) && !Search(folder + entry.cFileName)) return false;
            if (!Pause()) return false;
        } while (::FindNextFileA(find.get(), &entry));
        return true;
    }

    static bool IsSubFolder(const WIN32_FIND_DATAA& entry) {
        const std::string name = entry.cFileName;
        return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
               !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && name != "." && name != "..";
    }

    const std::string& pattern_;
    const FolderSearchEvents& events_;
    int entries_ = 0;
};

}  // namespace

bool SearchFolders(const std::string& root, const std::string& pattern, const FolderSearchEvents& events) {
    return FolderSearch(pattern, events).Search(root);
}

}  // namespace tarnwell
