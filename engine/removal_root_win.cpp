#include "engine/removal_root_win.h"

#include "base/file_names.h"
#include "base/handles.h"
#include "ui/late_bound.h"

namespace tarnwell {

namespace {

using FinalPathByHandle = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);

FinalPathByHandle FinalPathCall() {
    static const auto call = BindLater<FinalPathByHandle>("kernel32.dll", "GetFinalPathNameByHandleA");
    return call;
}

// Where the handle's file or folder really lies, in its plain drive or
// share form.
std::optional<std::string> FinalPath(HANDLE handle) {
    const auto call = FinalPathCall();
    if (!call) return std::nullopt;
    char path[MAX_PATH * 2] = {};
    const DWORD length = call(handle, path, sizeof path, 0);
    if (length == 0 || length >= sizeof path) return std::nullopt;
    std::string text(path, length);
    if (text.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + text.substr(8);
    if (text.rfind("\\\\?\\", 0) == 0) return text.substr(4);
    return text;
}

// Windows 2000 and XP mark junctions and mounted folders with the
// reparse-point attribute; 95, 98, ME and NT 4 have no folder links. A
// folder that cannot be asked counts as a link.
bool IsFolderLink(const std::string& folder) {
    const DWORD attributes = ::GetFileAttributesA(folder.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// No folder strictly between `root` and the file `path` is a link.
bool NoLinkBetween(const std::string& root, const std::string& path) {
    size_t i = root.size();
    while (i < path.size() && path[i] == '\\') ++i;
    for (; i < path.size(); ++i) {
        // The second byte of a double-byte character may look like a backslash.
        if (::IsDBCSLeadByte(static_cast<BYTE>(path[i]))) {
            ++i;
            continue;
        }
        if (path[i] == '\\' && IsFolderLink(path.substr(0, i))) return false;
    }
    return true;
}

}  // namespace

std::string FullPath(const std::string& path) {
    char full[MAX_PATH * 2] = {};
    const DWORD length = ::GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return length > 0 && length < sizeof full ? std::string(full, length) : path;
}

TRemovalRoot::TRemovalRoot(const std::string& folder) : named_(FullPath(folder)), finalKnown_(FinalPathCall()) {
    if (!finalKnown_) return;
    // Opening a folder needs the backup-semantics flag; no access is asked.
    FileHandle handle(::CreateFileA(named_.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (handle) final_ = FinalPath(handle.get());
}

bool TRemovalRoot::Holds(HANDLE file, const std::string& path) const {
    if (finalKnown_) {
        const std::optional<std::string> real = FinalPath(file);
        return real && final_ && LiesBelow(*real, *final_);
    }
    const std::string full = FullPath(path);
    return LiesBelow(full, named_) && NoLinkBetween(named_, full);
}

namespace {

// A listed folder may end in a separator; the link is the name before it.
std::string WithoutTrailingSeparator(std::string path) {
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

}  // namespace

bool IsLinkItself(const std::string& listed) {
    const std::string path = WithoutTrailingSeparator(listed);
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return true;
    if (!FinalPathCall()) return false;
    // A link the system shows as a plain entry: where it really lies is
    // not its name in its own folder.
    const std::string full = FullPath(path);
    std::string folder(ExtractFilePath(full));
    const std::string name = full.substr(folder.size());
    FileHandle entry(::CreateFileA(full.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    FileHandle parent(::CreateFileA(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!entry || !parent) return false;
    const std::optional<std::string> real = FinalPath(entry.get()), realFolder = FinalPath(parent.get());
    return real && realFolder && !SamePath(*real, JoinPath(*realFolder, name));
}

bool RemoveLink(const std::string& listed) {
    const std::string path = WithoutTrailingSeparator(listed);
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    // Only a name the system shows as a link is removed as one: deleting a
    // link it shows as a plain file may delete the file it leads to (Wine
    // does so with Unix links), so such a link stays.
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
    // A folder link goes as a folder; what it leads to is never entered.
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ::RemoveDirectoryA(path.c_str()) != FALSE;
    return ::DeleteFileA(path.c_str()) != FALSE;
}

}  // namespace tarnwell
