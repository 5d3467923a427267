#pragma once
// The folders every category works on, found once at start-up.
#include <optional>
#include <string>

#include "app/os_flags.h"

namespace tarnwell {

struct KnownLocations {
    std::string ProfileRoot;   // profile folder (NT) or Windows folder; no trailing backslash
    std::string TempDir;
    std::string IECacheDir;
    std::string IEHistoryDir;
    std::string CookieDir;
    std::string RecentDir;
    std::string SavedStartPage;
    std::string AOLPath;
    std::string QuickTimeDir;
    std::string FlashDir;
    std::string ShockwaveDir;
    std::string RecycleDir;
    std::string PluginDir;
    std::string OperaDir;      // chosen after the settings are restored
};

// Shell special folder ids the program asks for.
enum ShellFolderId { kInternetCache = 0x20, kCookies = 0x21, kHistory = 0x22, kSystem = 0x25 };

std::string GetShellFolder(const OsFlags& os, int folderId);  // empty on failure
std::string GetTempDir();                                      // with trailing backslash
std::string GetUserSidText();                                  // empty on failure
std::string GetUserNameText();                                 // empty on failure
// Replaces "%DRIVE%" and "%USERNAME%" for this user; ends with a backslash.
std::string ExpandPathMacros(const std::string& path, const std::string& profileRoot);

bool DirectoryExists(const std::string& path);

// Everything but the browser profile folders, which depend on the restored
// path edits (see profile_folders.h).
KnownLocations DiscoverKnownLocations(const OsFlags& os, const std::string& programDir);

}  // namespace tarnwell
