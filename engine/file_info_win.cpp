#include "engine/file_info_win.h"

#include "base/file_names.h"
#include "base/handles.h"
#include "ui/late_bound.h"

namespace tarnwell {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Where the trailing separators of `path` begin. The second byte of a
// double-byte character may look like a backslash and belongs to the name.
size_t EndOfName(const std::string& path) {
    size_t end = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        if (::IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
            end = ++i + 1;
        } else if (!IsSeparator(path[i])) {
            end = i + 1;
        }
    }
    return end;
}

// A name, its trailing separators taken off, that has no directory entry
// of its own to search for: "" (the current drive's root), "C:" (whose
// search would find the drive's current folder), "\\server\share".
bool IsRoot(const std::string& name) {
    if (name.empty() || (name.size() == 2 && name[1] == ':')) return true;
    if (name.size() < 3 || !IsSeparator(name[0]) || !IsSeparator(name[1])) return false;
    const size_t share = name.find_first_of("\\/", 2);
    return share == std::string::npos || name.find_first_of("\\/", share + 1) == std::string::npos;
}

// What GetFileAttributesExA reports, read from the name's entry in its
// folder, where that call is missing (Windows 95).
std::optional<WIN32_FILE_ATTRIBUTE_DATA> FromDirectoryEntry(const std::string& path) {
    // A search takes wildcards as a pattern that other names match; the
    // attribute call refuses them.
    if (path.find_first_of("*?") != std::string::npos) return std::nullopt;
    // A search for "folder\" lists nothing; the attribute call accepts it
    // for a folder (not for a file).
    const std::string name = path.substr(0, EndOfName(path));
    const bool trailing = name.size() < path.size();
    if (IsRoot(name)) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        data.dwFileAttributes = ::GetFileAttributesA(path.c_str());
        if (data.dwFileAttributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
        return data;
    }
    WIN32_FIND_DATAA entry;
    FindHandle search(::FindFirstFileA(name.c_str(), &entry));
    if (!search) return std::nullopt;
    if (trailing && !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    data.dwFileAttributes = entry.dwFileAttributes;
    data.ftCreationTime = entry.ftCreationTime;
    data.ftLastAccessTime = entry.ftLastAccessTime;
    data.ftLastWriteTime = entry.ftLastWriteTime;
    data.nFileSizeHigh = entry.nFileSizeHigh;
    data.nFileSizeLow = entry.nFileSizeLow;
    return data;
}

}  // namespace

std::optional<WIN32_FILE_ATTRIBUTE_DATA> QueryFileInfo(const std::string& path) {
    using AttributesEx = BOOL(WINAPI*)(LPCSTR, GET_FILEEX_INFO_LEVELS, LPVOID);
    static const auto call = BindLater<AttributesEx>("kernel32.dll", "GetFileAttributesExA");
    if (!call) return FromDirectoryEntry(path);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!call(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return data;
}

// INVALID_FILE_SIZE is also the low word of real lengths; the error code,
// cleared beforehand, tells the two apart.
std::optional<std::int64_t> OpenFileSize(HANDLE file) {
    DWORD high = 0;
    ::SetLastError(NO_ERROR);
    const DWORD low = ::GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) return std::nullopt;
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(high) << 32) | low);
}

// INVALID_SET_FILE_POINTER is likewise a valid low word of a position.
bool SeekFromStart(HANDLE file, std::int64_t offset) {
    if (offset < 0) return false;
    LONG high = static_cast<LONG>(offset >> 32);
    ::SetLastError(NO_ERROR);
    const DWORD low = ::SetFilePointer(file, static_cast<LONG>(offset & 0xFFFFFFFF), &high, FILE_BEGIN);
    return low != INVALID_SET_FILE_POINTER || ::GetLastError() == NO_ERROR;
}

bool IsPlainFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<WIN32_FIND_DATAA> FirstFolderEntry(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    FindHandle listing(::FindFirstFileA(JoinPath(folder, "*.*").c_str(), &entry));
    if (!listing) return std::nullopt;
    do {
        const std::string_view name = entry.cFileName;
        if (name != "." && name != "..") return entry;
    } while (::FindNextFileA(listing.get(), &entry));
    return std::nullopt;
}

}  // namespace tarnwell
