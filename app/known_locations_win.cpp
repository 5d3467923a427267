#include "app/known_locations.h"

#include <shlobj.h>

#include <array>
#include <vector>

#include "app/path_macros.h"
#include "app/registry_win.h"
#include "app/sid_text.h"
#include "app/system_info_win.h"
#include "engine/file_info_win.h"
#include "base/handles.h"
#include "ui/late_bound.h"

namespace tarnwell {

namespace {

constexpr const char* kUserShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kCommonShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Folders";
constexpr const char* kIEMain = "Software\\Microsoft\\Internet Explorer\\Main";
constexpr const char* kAolVersion = "Software\\America Online\\AOL\\CurrentVersion";
constexpr const char* kQuickTime = "Software\\Apple Computer, Inc.\\QuickTime\\LocalUserPreferences";
constexpr const char* kShockwave = "Software\\Macromedia\\Shockwave 10\\preffileloc";

std::string ExpandEnvironment(const char* text) {
    char buffer[MAX_PATH] = {};
    const DWORD length = ::ExpandEnvironmentStringsA(text, buffer, MAX_PATH);
    return length == 0 || length > MAX_PATH ? std::string() : std::string(buffer);
}

// A candidate chain: each step replaces the path only while it names no
// existing folder and the step has a value to offer.
class Candidate {
public:
    explicit Candidate(std::string first) : path_(std::move(first)) {}
    Candidate& OrElse(const std::optional<std::string>& next) {
        if (!DirectoryExists(path_) && next) path_ = *next;
        return *this;
    }
    Candidate& OrElse(const std::string& next) { return OrElse(std::optional<std::string>(next)); }
    // A backslash is appended only to a folder that exists.
    std::string WithBackslashIfExists() const {
        return DirectoryExists(path_) ? WithTrailingBackslash(path_) : path_;
    }

private:
    std::string path_;
};

std::optional<std::string> ShellValue(HKEY root, const char* key, const char* value) {
    return ReadRegistryString(root, key, value);
}

std::string FirstAolCandidate(const std::string& profileRoot) {
    static constexpr std::array<const char*, 4> kEndings = {
        "\\AOL\\C_America Online 9.0c\\organize\\", "\\AOL\\C_America Online 9.0b\\organize\\",
        "\\AOL\\C_America Online 9.0a\\organize\\", "\\AOL\\C_America Online 9.0\\organize\\"};
    std::vector<std::string> candidates;
    if (RegistryKeyExists(HKEY_LOCAL_MACHINE, kCommonShellFolders)) {
        const std::string common =
            ShellValue(HKEY_LOCAL_MACHINE, kCommonShellFolders, "Common AppData").value_or(std::string());
        for (const char* ending : kEndings) candidates.push_back(common + ending);
    }
    const std::string expanded = ExpandEnvironment("%Common AppData%");
    for (const char* ending : kEndings) candidates.push_back(expanded + ending);
    for (const char* ending : kEndings) candidates.push_back(profileRoot + "\\Application Data" + ending);
    if (auto appPath = ShellValue(HKEY_LOCAL_MACHINE, kAolVersion, "AppPath"))
        candidates.push_back(*appPath + "\\organize\\");
    for (const std::string& c : candidates)
        if (DirectoryExists(c)) return c;
    return candidates.back();  // the last one tried stays, found or not
}

void DiscoverInternetExplorer(const OsFlags& os, KnownLocations& loc) {
    if (os.IsNT || os.IsWinME) {
        loc.IECacheDir = Candidate(GetShellFolder(os, kInternetCache))
                             .OrElse(ShellValue(HKEY_CURRENT_USER, kUserShellFolders, "Cache"))
                             .OrElse(ShellValue(HKEY_CURRENT_USER, kShellFolders, "Cache"))
                             .WithBackslashIfExists();
        loc.IEHistoryDir = Candidate(GetShellFolder(os, kHistory))
                               .OrElse(ShellValue(HKEY_CURRENT_USER, kShellFolders, "History"))
                               .OrElse(loc.ProfileRoot + "\\Local Settings\\History")
                               .WithBackslashIfExists();
        loc.CookieDir = Candidate(GetShellFolder(os, kCookies))
                            .OrElse(ShellValue(HKEY_CURRENT_USER, kShellFolders, "Cookies"))
                            .OrElse(loc.ProfileRoot + "\\Cookies\\")
                            .WithBackslashIfExists();
        return;
    }
    loc.IECacheDir = Candidate(ShellValue(HKEY_CURRENT_USER, kUserShellFolders, "Cache").value_or(std::string()))
                         .OrElse(ShellValue(HKEY_CURRENT_USER, kShellFolders, "Cache"))
                         .OrElse(loc.ProfileRoot + "\\Local Settings\\Temporary Internet Files\\")
                         .WithBackslashIfExists();
    loc.CookieDir = Candidate(ShellValue(HKEY_CURRENT_USER, kShellFolders, "Cookies").value_or(std::string()))
                        .OrElse(loc.ProfileRoot + "\\Cookies")
                        .WithBackslashIfExists();
    loc.IEHistoryDir = Candidate(ShellValue(HKEY_CURRENT_USER, kShellFolders, "History").value_or(std::string()))
                           .OrElse(loc.ProfileRoot + "\\History")
                           .WithBackslashIfExists();
}

std::string DiscoverShockwave(const OsFlags& os, const std::string& profileRoot) {
    Candidate shockwave(ShellValue(HKEY_LOCAL_MACHINE, kShockwave, "").value_or(std::string()));
    const std::string profilePrefs = profileRoot + "\\Application Data\\Macromedia\\Shockwave Player\\Prefs\\";
    if (DirectoryExists(profilePrefs)) shockwave.OrElse(profilePrefs);
    const std::string systemPrefs = GetShellFolder(os, kSystem) + "\\macromed\\shockwave 8\\prefs\\";
    if (DirectoryExists(systemPrefs)) shockwave.OrElse(systemPrefs);
    return shockwave.WithBackslashIfExists();
}

}  // namespace

bool DirectoryExists(const std::string& path) {
    return !path.empty() && IsFolder(path);
}

// The NT family and ME ask the shell of Windows 2000 and ME; where that
// call is missing (NT 4), and on the other systems, the older call answers
// for the folders it knows.
std::string GetShellFolder(const OsFlags& os, int folderId) {
    using GetFolderLocation = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPITEMIDLIST*);
    const auto call =
        os.IsNT || os.IsWinME ? BindLater<GetFolderLocation>("shell32.dll", "SHGetFolderLocation") : nullptr;
    LPITEMIDLIST items = nullptr;
    const HRESULT found = call ? call(nullptr, folderId, nullptr, 0, &items)
                               : ::SHGetSpecialFolderLocation(nullptr, folderId, &items);
    if (FAILED(found)) return {};
    char path[MAX_PATH] = {};
    const BOOL ok = ::SHGetPathFromIDListA(items, path);
    ::CoTaskMemFree(items);
    return ok ? std::string(path) : std::string();
}

// A length of MAX_PATH or more is the size the path would need: it does
// not fit, and the buffer holds nothing of it.
std::string GetTempDir() {
    char buffer[MAX_PATH] = {};
    const DWORD length = ::GetTempPathA(MAX_PATH, buffer);
    if (length == 0 || length >= MAX_PATH) return {};
    return WithTrailingBackslash(buffer);
}

// An empty SID would make the NT path "c:\recycler\\", the folder that
// holds the bins of every user: none is answered instead.
std::string RecycleBinFolder(const OsFlags& os, const std::string& profileRoot, const std::string& userSid) {
    const std::string drive = profileRoot.substr(0, 2);
    if (os.IsNT) {
        if (userSid.empty()) return {};
        const std::string own = drive + "\\recycler\\" + userSid + "\\";
        return DirectoryExists(own) ? own : "c:\\recycler\\" + userSid + "\\";
    }
    const std::string own = drive + "\\recycled\\";
    return DirectoryExists(own) ? own : std::string("c:\\recycled\\");
}

std::string GetUserSidText() {
    const KernelHandle token = OpenOwnToken(TOKEN_READ, false);
    if (!token) return {};
    const std::vector<unsigned char> buffer = TokenInformation(token.get(), TokenUser);
    if (buffer.size() < sizeof(TOKEN_USER)) return {};
    const std::optional<SidParts> sid = SidInBuffer(buffer, reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid);
    return sid ? SidText(*sid) : std::string();
}

std::string GetUserNameText() {
    char name[257] = {};
    DWORD size = sizeof name;
    return ::GetUserNameA(name, &size) ? std::string(name) : std::string();
}

std::string ExpandPathMacros(const std::string& path, const std::string& profileRoot) {
    return tarnwell::ExpandPathMacros(std::string_view(path), profileRoot, GetUserNameText());
}

KnownLocations DiscoverKnownLocations(const OsFlags& os, const std::string& programDir) {
    KnownLocations loc;
    if (os.IsNT) {
        loc.ProfileRoot = ExpandEnvironment("%USERPROFILE%");
    } else {
        char windows[MAX_PATH] = {};
        const UINT length = ::GetWindowsDirectoryA(windows, MAX_PATH);
        loc.ProfileRoot = length > 0 && length < MAX_PATH ? windows : "";
    }
    loc.TempDir = GetTempDir();
    if (loc.TempDir == programDir) loc.TempDir = ExpandEnvironment("%TEMP%");
    DiscoverInternetExplorer(os, loc);
    loc.RecentDir = Candidate(ShellValue(HKEY_CURRENT_USER, kShellFolders, "Recent").value_or(std::string()))
                        .OrElse(loc.ProfileRoot + "\\Recent")
                        .WithBackslashIfExists();
    loc.SavedStartPage = ShellValue(HKEY_CURRENT_USER, kIEMain, "Start Page").value_or(std::string());
    loc.AOLPath = FirstAolCandidate(loc.ProfileRoot);
    const std::string commonAppData =
        ShellValue(HKEY_LOCAL_MACHINE, kCommonShellFolders, "Common AppData").value_or(std::string());
    loc.QuickTimeDir = Candidate(ShellValue(HKEY_LOCAL_MACHINE, kQuickTime, "FolderPath").value_or(std::string()))
                           .OrElse(commonAppData + "\\QuickTime\\")
                           .WithBackslashIfExists();
    const std::string flash = loc.ProfileRoot + "\\Application Data\\Macromedia\\Flash Player\\";
    loc.FlashDir = DirectoryExists(flash) ? flash : std::string();
    loc.ShockwaveDir = DiscoverShockwave(os, loc.ProfileRoot);
    loc.RecycleDir = RecycleBinFolder(os, loc.ProfileRoot, os.IsNT ? GetUserSidText() : std::string());
    // The program folder already ends with a backslash; a second one would
    // make every plug-in path differ from the same path typed by a person.
    loc.PluginDir = programDir + "plugins\\";
    return loc;
}

}  // namespace tarnwell
