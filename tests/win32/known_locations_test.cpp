// Discovery of the known locations with the real registry, shell and file
// system of the test prefix. The same program runs as known_locations_win98,
// _winme and _winxp, each seeing the Windows version it is named for.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/known_locations.h"
#include "app/profile_folders.h"
#include "app/registry_win.h"
#include "app/system_info_win.h"
#include "tests/win32/support/planted_files.h"
#include "tests/win32/support/registry_values.h"
#include "tests/win32/support/tarnwell_process.h"

#include <sddl.h>

namespace tarnwell::testing {
namespace {

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kUserShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr const char* kAolVersion = "Software\\America Online\\AOL\\CurrentVersion";

std::string WindowsFolder() {
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    return windows;
}

std::string Env(const char* text) {
    char value[MAX_PATH] = {};
    ::ExpandEnvironmentStringsA(text, value, MAX_PATH);
    return value;
}

// Folders made for one test: each level it had to make is removed after
// it, deepest first, and whatever was there before stays.
class Folders {
public:
    std::string Make(const std::string& path) {
        EXPECT_TRUE(planted_.Folder(path)) << path;
        return path;
    }
    void RemoveAll() { planted_.RemoveAll(); }

private:
    PlantedFiles planted_;
};

class KnownLocationsTest : public ::testing::Test {
protected:
    OsFlags os = DetectOsFlags();
    TempFolder program;
};

TEST_F(KnownLocationsTest, RunsInTheWindowsVersionItIsNamedFor) {
    // The runner's --version names it.
    const char* version = std::getenv("TARNWELL_WINDOWS_VERSION");
    ASSERT_NE(version, nullptr) << "run through run_test.sh --version";
    const std::string name = version;
    if (name == "win98") {
        EXPECT_FALSE(os.IsNT || os.IsWinME || os.IsNTPlatform);
        EXPECT_TRUE(os.IsOldShell);
    } else if (name == "winme") {
        EXPECT_TRUE(os.IsWinME);
        EXPECT_FALSE(os.IsNT || os.IsOldShell);
    } else {
        EXPECT_TRUE(os.IsNT && os.IsNTPlatform);
        EXPECT_FALSE(os.IsOldShell || os.IsWinME);
    }
    EXPECT_TRUE(IsUserAdministrator());
}

TEST_F(KnownLocationsTest, ProfileRootAndShellFolders) {
    const KnownLocations loc = DiscoverKnownLocations(os, program.Path());
    EXPECT_EQ(loc.ProfileRoot, os.IsNT ? Env("%USERPROFILE%") : WindowsFolder());
    if (os.IsNT || os.IsWinME) {
        // The shell knows these folders in this prefix, so they are taken as given.
        EXPECT_EQ(loc.IECacheDir, GetShellFolder(os, kInternetCache) + "\\");
        EXPECT_EQ(loc.CookieDir, GetShellFolder(os, kCookies) + "\\");
        EXPECT_EQ(loc.IEHistoryDir, GetShellFolder(os, kHistory) + "\\");
    }
    EXPECT_TRUE(DirectoryExists(loc.IECacheDir)) << loc.IECacheDir;
    EXPECT_EQ(loc.RecentDir, *ReadRegistryString(HKEY_CURRENT_USER, kShellFolders, "Recent") + "\\");
    EXPECT_EQ(loc.PluginDir, program.Path() + "plugins\\");
    EXPECT_EQ(loc.TempDir, GetTempDir());
    EXPECT_EQ(loc.TempDir.back(), '\\');
}

TEST_F(KnownLocationsTest, WindowsNineEightFallsBackToTheWindowsFolder) {
    if (os.IsNT || os.IsWinME) GTEST_SKIP() << "the 95/98 rules";
    RegistryValues registry;
    for (const char* value : {"History", "Cookies", "Cache"}) registry.Set(HKEY_CURRENT_USER, kShellFolders, value, {});
    registry.Set(HKEY_CURRENT_USER, kUserShellFolders, "Cache", {});
    Folders folders;
    folders.Make(WindowsFolder() + "\\History");
    folders.Make(WindowsFolder() + "\\Cookies");
    const KnownLocations loc = DiscoverKnownLocations(os, program.Path());
    EXPECT_EQ(loc.IEHistoryDir, WindowsFolder() + "\\History\\");
    EXPECT_EQ(loc.CookieDir, WindowsFolder() + "\\Cookies\\");
    // Not there: the candidate stays without a backslash appended.
    EXPECT_EQ(loc.IECacheDir, WindowsFolder() + "\\Local Settings\\Temporary Internet Files\\");
}

TEST_F(KnownLocationsTest, NtFallsBackWhenTheShellFolderIsMissing) {
    if (!os.IsNT) GTEST_SKIP() << "the NT rules";
    RegistryValues registry;
    registry.Set(HKEY_CURRENT_USER, kShellFolders, "Recent", "C:\\does\\not\\exist");
    const KnownLocations loc = DiscoverKnownLocations(os, program.Path());
    EXPECT_EQ(loc.RecentDir, Env("%USERPROFILE%") + "\\Recent");
}

TEST_F(KnownLocationsTest, RecycleBinOfTheFamily) {
    const KnownLocations loc = DiscoverKnownLocations(os, program.Path());
    const std::string drive = loc.ProfileRoot.substr(0, 2);
    if (os.IsNT) {
        EXPECT_EQ(loc.RecycleDir, "c:\\recycler\\" + GetUserSidText() + "\\");
        Folders folders;
        folders.Make(drive + "\\recycler\\" + GetUserSidText());
        EXPECT_EQ(DiscoverKnownLocations(os, program.Path()).RecycleDir,
                  drive + "\\recycler\\" + GetUserSidText() + "\\");
    } else {
        Folders folders;
        folders.Make(drive + "\\recycled");
        EXPECT_EQ(DiscoverKnownLocations(os, program.Path()).RecycleDir, drive + "\\recycled\\");
    }
}

TEST_F(KnownLocationsTest, SidTextMatchesTheSystemsOwn) {
    HANDLE token = nullptr;
    ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_READ, &token));
    unsigned char buffer[256];
    DWORD size = 0;
    ASSERT_TRUE(::GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size));
    ::CloseHandle(token);
    char* text = nullptr;
    ASSERT_TRUE(::ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &text));
    EXPECT_EQ(GetUserSidText(), text);
    ::LocalFree(text);
}

TEST_F(KnownLocationsTest, AolFoundOnlyThroughItsAppPath) {
    ASSERT_FALSE(DirectoryExists("C:\\tw-aol-test")) << "the test's own folder, taken away again below";
    Folders folders;
    const std::string aol = folders.Make("C:\\tw-aol-test\\organize");
    RegistryValues registry;
    registry.Set(HKEY_LOCAL_MACHINE, kAolVersion, "AppPath", "C:\\tw-aol-test");
    EXPECT_EQ(DiscoverKnownLocations(os, program.Path()).AOLPath, "C:\\tw-aol-test\\organize\\");
    folders.RemoveAll();
    // Still the last candidate tried, although it no longer exists.
    EXPECT_EQ(DiscoverKnownLocations(os, program.Path()).AOLPath, "C:\\tw-aol-test\\organize\\");
}

TEST_F(KnownLocationsTest, AolInCommonApplicationDataWinsOverAppPath) {
    const std::string common = *ReadRegistryString(
        HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Folders", "Common AppData");
    Folders folders;
    folders.Make(common + "\\AOL\\C_America Online 9.0a\\organize");
    folders.Make(common + "\\AOL\\C_America Online 9.0\\organize");
    RegistryValues registry;
    registry.Set(HKEY_LOCAL_MACHINE, kAolVersion, "AppPath", "C:\\elsewhere");
    EXPECT_EQ(DiscoverKnownLocations(os, program.Path()).AOLPath,
              common + "\\AOL\\C_America Online 9.0a\\organize\\");
}

TEST_F(KnownLocationsTest, StoredOperaFolders) {
    const std::string root = DiscoverKnownLocations(os, program.Path()).ProfileRoot;
    const ExistsTest exists = [](const std::string& p) { return DirectoryExists(p); };
    Folders folders;
    const std::string opera7 = folders.Make(root + "\\Application Data\\Opera\\Opera7\\profile\\");
    // A custom folder that was deleted: no Opera folder at all.
    FolderChoice gone = ChooseOperaFolder(root, "C:\\my-opera-gone\\", exists);
    EXPECT_FALSE(gone.folder);
    EXPECT_EQ(gone.editText, "C:\\my-opera-gone\\");
    // A stored default that no longer exists falls back to the first existing one.
    FolderChoice moved = ChooseOperaFolder(root, root + "\\Application Data\\Opera\\Opera\\profile\\", exists);
    EXPECT_EQ(moved.folder, opera7);
    EXPECT_EQ(moved.editText, opera7);
    // A custom folder that exists is used as typed, with a backslash.
    const std::string custom = folders.Make(program.Path() + "opera-custom");
    EXPECT_EQ(ChooseOperaFolder(root, custom, exists).folder, custom + "\\");
}

TEST_F(KnownLocationsTest, TempFolderEqualToTheProgramFolder) {
    std::string withoutBackslash = program.Path();
    withoutBackslash.pop_back();
    const std::string oldTmp = Env("%TMP%"), oldTemp = Env("%TEMP%");
    ::SetEnvironmentVariableA("TMP", program.Path().c_str());
    ::SetEnvironmentVariableA("TEMP", withoutBackslash.c_str());
    const KnownLocations loc = DiscoverKnownLocations(os, program.Path());
    ::SetEnvironmentVariableA("TMP", oldTmp.c_str());
    ::SetEnvironmentVariableA("TEMP", oldTemp.c_str());
    EXPECT_EQ(loc.TempDir, withoutBackslash);
}

TEST_F(KnownLocationsTest, FlashAndShockwaveFolders) {
    const std::string root = DiscoverKnownLocations(os, program.Path()).ProfileRoot;
    // The folders are the test's own, to be taken away again below.
    ASSERT_FALSE(DirectoryExists(root + "\\Application Data\\Macromedia\\Flash Player"));
    Folders folders;
    const std::string flash = folders.Make(root + "\\Application Data\\Macromedia\\Flash Player\\");
    const std::string shock = folders.Make(root + "\\Application Data\\Macromedia\\Shockwave Player\\Prefs\\");
    const KnownLocations loc = DiscoverKnownLocations(os, program.Path());
    EXPECT_EQ(loc.FlashDir, flash);
    EXPECT_EQ(loc.ShockwaveDir, shock);
    folders.RemoveAll();
    EXPECT_EQ(DiscoverKnownLocations(os, program.Path()).FlashDir, "");
}

TEST_F(KnownLocationsTest, PathMacrosUseTheProfileDriveAndUserName) {
    const KnownLocations loc = DiscoverKnownLocations(os, program.Path());
    const std::string expanded = ExpandPathMacros("%drive%\\x\\%UserName%", loc.ProfileRoot);
    EXPECT_EQ(expanded, loc.ProfileRoot.substr(0, 2) + "\\x\\" + GetUserNameText() + "\\");
    EXPECT_FALSE(GetUserNameText().empty());
}

}  // namespace
}  // namespace tarnwell::testing

#include "resident/service_manager.h"

namespace tarnwell::testing {
namespace {

TEST(ServiceManagerFamily, InertOutsideTheNtFamily) {
    TbtSvcMan manager;
    EXPECT_EQ(manager.Ready(), DetectOsFlags().IsNTPlatform);
    if (manager.Ready()) return;
    SERVICE_STATUS status{};
    EXPECT_FALSE(manager.QuerySvcStatus(kServiceName, status));
    EXPECT_FALSE(manager.StartSvc(kServiceName));
    EXPECT_EQ(manager.RegisterSvc(kServiceName, kServiceName, "C:\\x.exe", TSvcStartType::stAuto), std::nullopt);
    EXPECT_EQ(manager.UnregisterSvc(kServiceName), std::nullopt);
}

}  // namespace
}  // namespace tarnwell::testing
