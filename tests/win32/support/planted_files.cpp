#include "tests/win32/support/planted_files.h"

#include "tests/win32/support/tarnwell_process.h"

namespace tarnwell::testing {

namespace {

std::string WithoutTrailingBackslash(std::string path) {
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

std::string ParentOf(const std::string& path) {
    const size_t last = path.find_last_of('\\');
    return last == std::string::npos ? std::string() : path.substr(0, last);
}

// Every path below `folder`, each folder before what it holds.
std::vector<std::string> PathsBelow(const std::string& folder) {
    std::vector<std::string> paths;
    WIN32_FIND_DATAA entry;
    HANDLE search = ::FindFirstFileA((folder + "\\*.*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return paths;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        paths.push_back(path);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            for (std::string& below : PathsBelow(path)) paths.push_back(std::move(below));
    } while (::FindNextFileA(search, &entry));
    ::FindClose(search);
    return paths;
}

void RemoveEntry(const std::string& path) {
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!::DeleteFileA(path.c_str())) ::RemoveDirectoryA(path.c_str());
}

}  // namespace

void PlantedFiles::WatchForNewEntries(const std::string& folder) {
    const std::string path = WithoutTrailingBackslash(folder);
    const std::vector<std::string> paths = PathsBelow(path);
    watched_.push_back({path, std::set<std::string>(paths.begin(), paths.end())});
}

bool PlantedFiles::Folder(const std::string& path) {
    const std::string folder = WithoutTrailingBackslash(path);
    // From the drive down, so that parents are recorded before children.
    for (size_t end = folder.find('\\', 3); ; end = folder.find('\\', end + 1)) {
        const std::string level = folder.substr(0, end);
        if (!FileExists(level)) {
            if (!::CreateDirectoryA(level.c_str(), nullptr)) return false;
            folders_.push_back(level);
        }
        if (end == std::string::npos) break;
    }
    return (::GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool PlantedFiles::File(const std::string& path, const std::string& text) {
    if (FileExists(path)) return false;
    const std::string parent = ParentOf(path);
    if (!parent.empty() && !Folder(parent)) return false;
    files_.push_back(path);
    return WriteTextFile(path, text);
}

void PlantedFiles::RemoveAll() {
    for (const std::string& file : files_) RemoveEntry(file);
    files_.clear();
    for (const Watched& watched : watched_) {
        const std::vector<std::string> now = PathsBelow(watched.folder);
        // Backwards, so that what a folder holds goes before the folder.
        for (auto path = now.rbegin(); path != now.rend(); ++path)
            if (!watched.before.count(*path)) RemoveEntry(*path);
    }
    watched_.clear();
    for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder) RemoveTree(*folder);
    folders_.clear();
}

}  // namespace tarnwell::testing
