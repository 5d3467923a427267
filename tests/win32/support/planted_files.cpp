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

}  // namespace

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
    for (const std::string& file : files_) {
        ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(file.c_str());
    }
    files_.clear();
    for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder) RemoveTree(*folder);
    folders_.clear();
}

}  // namespace tarnwell::testing
