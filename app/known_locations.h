#pragma once
// The folders every category works on, found once at start-up.
#include <optional>
#include <string>

#include "app/os_flags.h"

namespace tarnwell {

struct KnownLocations {
    std::string ProfileRoot;   // profile folder (NT) or Windows folder; no trailing backslash
    std::string TempDir;       // empty when the system's temporary folder cannot be read
    std::string IECacheDir;
    std::string IEHistoryDir;
    std::string CookieDir;
    std::string RecentDir;
    std::string SavedStartPage;
    std::string AOLPath;
    std::string QuickTimeDir;
    std::string FlashDir;
    std::string ShockwaveDir;
    std::string RecycleDir;    // empty on the NT family when the user's SID cannot be read
    std::string PluginDir;
    std::string OperaDir;      // chosen after the settings are restored
};

// Shell special folder ids the program asks for.
enum ShellFolderId { kInternetCache = 0x20, kCookies = 0x21, kHistory = 0x22, kSystem = 0x25 };

std::string GetShellFolder(const OsFlags& os, int folderId);  // empty on failure
// The system's temporary folder with a trailing backslash; empty when it
// cannot be read or does not fit in MAX_PATH (a TMP that long), never a
// stand-in such as the current drive's root.
std::string GetTempDir();
std::string GetUserSidText();                                  // empty on failure
std::string GetUserNameText();                                 // empty on failure
// Replaces "%DRIVE%" and "%USERNAME%" for this user; ends with a backslash.
std::string ExpandPathMacros(const std::string& path, const std::string& profileRoot);

bool DirectoryExists(const std::string& path);

// The recycle folder of the user with SID text `userSid`: on the NT family
// "<profile drive>\recycler\<SID>\" when it exists, else
// "c:\recycler\<SID>\", and empty when `userSid` is empty (never the
// folder of every user's bin); on the 95 family "<profile drive>\recycled\"
// when it exists, else "c:\recycled\" (`userSid` unused).
std::string RecycleBinFolder(const OsFlags& os, const std::string& profileRoot, const std::string& userSid);

// Everything but the browser profile folders, which depend on the restored
// path edits (see profile_folders.h).
KnownLocations DiscoverKnownLocations(const OsFlags& os, const std::string& programDir);

}  // namespace tarnwell
