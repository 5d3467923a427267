#include "engine/folder_guard_win.h"

#include <optional>
#include <vector>

#include "base/file_names.h"
#include "base/handles.h"
#include "base/win.h"
#include "engine/folder_guard.h"
#include "ui/late_bound.h"

namespace tarnwell {

namespace {

constexpr const char* kCurrentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";
// The program-files folder of the registry view this program reads, the
// 32-bit one of a 64-bit system, and its 64-bit one (Windows 7 on), which
// the 32-bit view names only under the last value.
constexpr const char* kProgramFilesValues[] = {"ProgramFilesDir", "ProgramFilesDir (x86)", "ProgramW6432Dir"};

using FolderCall = UINT(WINAPI*)(LPSTR, UINT);

// The folder a GetWindowsDirectoryA-like call gives; none when it fails or
// does not fit.
std::optional<std::string> SystemFolder(FolderCall call) {
    char buffer[MAX_PATH] = {};
    const UINT length = call(buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::nullopt;
    return std::string(buffer, length);
}

// Where several users share one system (Terminal Services, Windows 2000
// on), GetWindowsDirectoryA names a folder of the user's own; this call
// names the shared one.
std::optional<std::string> SharedWindowsFolder() {
    static const auto call = BindLater<FolderCall>("kernel32.dll", "GetSystemWindowsDirectoryA");
    return call ? SystemFolder(call) : std::nullopt;
}

std::optional<std::string> ExpandEnvironment(const std::string& text) {
    char buffer[MAX_PATH] = {};
    const DWORD length = ::ExpandEnvironmentStringsA(text.c_str(), buffer, MAX_PATH);
    if (length == 0 || length > MAX_PATH) return std::nullopt;
    return std::string(buffer);
}

// A string value of HKEY_LOCAL_MACHINE's CurrentVersion key, expanded.
std::optional<std::string> MachineFolderValue(const char* value) {
    RegKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersion, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(key.get(), value, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    std::vector<char> data(size + 1, '\0');
    if (::RegQueryValueExA(key.get(), value, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    const std::string text(data.data());
    return type == REG_EXPAND_SZ ? ExpandEnvironment(text) : text;
}

bool IsMissing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// The location as the walk reads it: joined with a separator the way the
// walk joins its search pattern (so "C:" is the drive's root, not the
// drive's current folder), then made absolute. None when the system
// cannot resolve it.
std::optional<std::string> FullPath(const std::string& location) {
    if (location.empty()) return std::nullopt;
    const std::string joined = JoinPath(location, "");
    std::string buffer(MAX_PATH, '\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD length =
            ::GetFullPathNameA(joined.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
        if (length == 0) return std::nullopt;
        if (length < buffer.size()) return buffer.substr(0, length);
        buffer.assign(length, '\0');
    }
    return std::nullopt;
}

// Where the first folder name after the root of an absolute path begins.
size_t RootLength(const std::string& full) {
    if (full.size() >= 3 && full[1] == ':') return 3;
    const size_t server = full.find('\\', 2);
    const size_t share = server == std::string::npos ? server : full.find('\\', server + 1);
    return share == std::string::npos ? full.size() : share + 1;
}

// Where the name starting at `start` ends. The second byte of a
// double-byte character may look like a backslash and belongs to the name.
size_t NameEnd(const std::string& full, size_t start) {
    for (size_t i = start; i < full.size(); ++i) {
        if (::IsDBCSLeadByte(static_cast<BYTE>(full[i])) && i + 1 < full.size()) {
            ++i;
        } else if (full[i] == '\\') {
            return i;
        }
    }
    return full.size();
}

// Short names replaced one folder at a time by the long names of their
// directory entries, where GetLongPathNameA is missing (Windows 95, NT 4)
// or gives up on a path whose end does not exist. What follows a missing
// name stays as given: nothing lies there. `full` holds no wildcards.
std::optional<std::string> LongFormByEntries(const std::string& full) {
    size_t start = RootLength(full);
    std::string result = full.substr(0, start);
    while (start < full.size()) {
        const size_t end = NameEnd(full, start);
        if (end > start) {
            WIN32_FIND_DATAA entry;
            FindHandle search(::FindFirstFileA((result + full.substr(start, end - start)).c_str(), &entry));
            if (!search) return IsMissing(::GetLastError()) ? std::optional(result + full.substr(start)) : std::nullopt;
            result += entry.cFileName;
            if (end < full.size()) result += '\\';
        }
        start = end + 1;
    }
    return result;
}

std::optional<std::string> LongForm(const std::string& full) {
    using LongPathName = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);
    static const auto call = BindLater<LongPathName>("kernel32.dll", "GetLongPathNameA");
    if (!call) return LongFormByEntries(full);
    std::string buffer(MAX_PATH, '\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD length = call(full.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return IsMissing(::GetLastError()) ? LongFormByEntries(full) : std::nullopt;
        if (length < buffer.size()) return buffer.substr(0, length);
        buffer.assign(length, '\0');
    }
    return std::nullopt;
}

struct Resolved {
    std::string full;
    std::string longForm;
};

// The location's absolute and long forms; none when either cannot be had,
// or the absolute one is no plain folder path (wildcards, streams).
std::optional<Resolved> Resolve(const std::string& location) {
    auto full = FullPath(location);
    if (!full || !NormalizeAbsolutePath(*full)) return std::nullopt;
    auto longForm = LongForm(*full);
    if (!longForm) return std::nullopt;
    return Resolved{std::move(*full), std::move(*longForm)};
}

}  // namespace

TFolderGuard::TFolderGuard(const std::string& profileRoot) {
    if (auto windows = SystemFolder(::GetWindowsDirectoryA)) Protect(*windows, KeptFolder::Windows);
    if (auto shared = SharedWindowsFolder()) Protect(*shared, KeptFolder::Windows);
    if (auto system = SystemFolder(::GetSystemDirectoryA)) Protect(*system, KeptFolder::System);
    for (const char* value : kProgramFilesValues)
        if (auto programs = MachineFolderValue(value)) Protect(*programs, KeptFolder::ProgramFiles);
    Protect(profileRoot, KeptFolder::Profile);
}

// Each spelling is kept: the portable rule ignores one that is no
// absolute path, and a short one still counts where expansion fails.
void TFolderGuard::Protect(const std::string& folder, KeptFolder kind) {
    if (folder.empty()) return;
    protected_.push_back({folder, kind});
    if (const auto resolved = Resolve(folder)) {
        protected_.push_back({resolved->full, kind});
        protected_.push_back({resolved->longForm, kind});
    }
}

std::optional<FolderRefusal> TFolderGuard::RefusalBelow(const std::string& folder) const {
    const auto resolved = Resolve(folder);
    if (!resolved) return FolderRefusal{FolderRefusal::Reason::NotFullPath};
    if (auto refusal = tarnwell::RefusalBelow(resolved->full, protected_)) return refusal;
    return tarnwell::RefusalBelow(resolved->longForm, protected_);
}

}  // namespace tarnwell
