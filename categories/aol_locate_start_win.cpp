#include "categories/aol_locate.h"

#include "app/known_locations.h"
#include "app/registry_win.h"

namespace tarnwell {

namespace {

constexpr const char* kCommonShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Folders";

// Windows 9x and NT 4 without the shell update know no common application
// data folder; some installers still leave this variable behind.
std::string ExpandedCommonAppData() {
    char buffer[MAX_PATH] = {};
    const DWORD length = ::ExpandEnvironmentStringsA("%Common AppData%", buffer, MAX_PATH);
    return length == 0 || length > MAX_PATH ? std::string() : std::string(buffer);
}

}  // namespace

// Each step is tried only while the folder so far does not exist; the
// drive root is taken whether it exists or not, as the last resort.
std::string LocateStartFolder(const std::string& profileRoot) {
    std::string folder =
        ReadRegistryString(HKEY_LOCAL_MACHINE, kCommonShellFolders, "Common AppData").value_or(std::string());
    if (!DirectoryExists(folder)) folder = ExpandedCommonAppData();
    if (!DirectoryExists(folder)) folder = profileRoot + "\\Application Data\\";
    if (!DirectoryExists(folder)) folder = profileRoot.substr(0, 2) + "\\";
    return folder;
}

}  // namespace tarnwell
