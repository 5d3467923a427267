#include "resident/index_files_win.h"

#include "base/handles.h"
#include "engine/removal_root_win.h"
#include "resident/index_list.h"
#include "ui/text_file.h"

namespace tarnwell {

namespace {

bool RemoveIndexFile(const std::string& path) {
    if (IsLinkItself(path)) return RemoveLink(path);
    const TRemovalRoot root(path.substr(0, path.find_last_of("\\/")));
    {
        FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !root.Holds(file.get(), path)) return false;
    }
    return ::DeleteFileA(path.c_str()) != FALSE;
}

}  // namespace

int RemoveListedIndexFiles(const std::string& indexList, std::array<bool, 3> chosen) {
    int removed = 0;
    for (const std::string& path : IndexFilesToRemove(ReadWholeFile(indexList).value_or(""), chosen))
        removed += RemoveIndexFile(path) ? 1 : 0;
    return removed;
}

}  // namespace tarnwell
