// The folder guard with the real folders, registry and environment of the
// test prefix, and the locations that once fell back to the drive's root
// or to every user's recycle bin.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "app/known_locations.h"
#include "app/os_flags.h"
#include "app/registry_win.h"
#include "engine/folder_guard_win.h"
#include "tests/win32/support/tarnwell_process.h"

namespace tarnwell::testing {
namespace {

std::optional<std::string> Environment(const char* name) {
    char value[4096] = {};
    const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof value);
    if (length == 0 || length >= sizeof value) return std::nullopt;
    return std::string(value, length);
}

std::string ProfileRoot() { return Environment("USERPROFILE").value_or(std::string()); }

std::string WindowsFolder() {
    char folder[MAX_PATH] = {};
    ::GetWindowsDirectoryA(folder, MAX_PATH);
    return folder;
}

std::string SystemFolder() {
    char folder[MAX_PATH] = {};
    ::GetSystemDirectoryA(folder, MAX_PATH);
    return folder;
}

std::string ProgramFiles() {
    return ReadRegistryString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir")
        .value_or(std::string());
}

// The 8.3 name of an existing folder; empty when it has none of its own.
std::string ShortName(const std::string& folder) {
    char name[MAX_PATH] = {};
    const DWORD length = ::GetShortPathNameA(folder.c_str(), name, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return _stricmp(name, folder.c_str()) == 0 ? std::string() : std::string(name, length);
}

// Environment variables of this process set for the life of the object,
// then put back as they were (or removed, if they were not set).
class EnvironmentOverride {
public:
    EnvironmentOverride(const char* name, const std::string& value) : name_(name), saved_(Environment(name)) {
        ::SetEnvironmentVariableA(name, value.c_str());
    }
    ~EnvironmentOverride() { ::SetEnvironmentVariableA(name_, saved_ ? saved_->c_str() : nullptr); }
    EnvironmentOverride(const EnvironmentOverride&) = delete;
    EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

private:
    const char* name_;
    std::optional<std::string> saved_;
};

// The current folder of this process set for the life of the object.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& folder) {
        ::GetCurrentDirectoryA(MAX_PATH, saved_);
        changed_ = ::SetCurrentDirectoryA(folder.c_str()) != 0;
    }
    ~CurrentFolder() { ::SetCurrentDirectoryA(saved_); }
    bool Changed() const { return changed_; }

private:
    char saved_[MAX_PATH] = {};
    bool changed_ = false;
};

class FolderGuardTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(ProfileRoot().empty());
        ASSERT_FALSE(ProgramFiles().empty());
    }
    TFolderGuard guard{ProfileRoot()};
};

TEST_F(FolderGuardTest, RefusesTheSystemsFolders) {
    EXPECT_FALSE(guard.MayDestroyBelow(WindowsFolder()));
    EXPECT_FALSE(guard.MayDestroyBelow(WindowsFolder() + "\\"));
    EXPECT_FALSE(guard.MayDestroyBelow(SystemFolder()));
    EXPECT_FALSE(guard.MayDestroyBelow(ProgramFiles()));
    EXPECT_FALSE(guard.MayDestroyBelow(ProfileRoot()));
    EXPECT_FALSE(guard.MayDestroyBelow("C:\\Windows\\System32\\.."));
    EXPECT_FALSE(guard.MayDestroyBelow("c:/WINDOWS/system32/"));
}

TEST_F(FolderGuardTest, RefusesRootsAndParentsOfProtectedFolders) {
    EXPECT_FALSE(guard.MayDestroyBelow("C:\\"));
    EXPECT_FALSE(guard.MayDestroyBelow("C:"));
    EXPECT_FALSE(guard.MayDestroyBelow("c:"));
    EXPECT_FALSE(guard.MayDestroyBelow("\\"));
    EXPECT_FALSE(guard.MayDestroyBelow("/"));
    EXPECT_FALSE(guard.MayDestroyBelow(ProfileRoot() + "\\.."));
    EXPECT_FALSE(guard.MayDestroyBelow(ProgramFiles() + "\\..\\"));
}

TEST_F(FolderGuardTest, RefusesWhatCannotBeResolved) {
    EXPECT_FALSE(guard.MayDestroyBelow(""));
    EXPECT_FALSE(guard.MayDestroyBelow("C:\\*"));
    EXPECT_FALSE(guard.MayDestroyBelow(WindowsFolder() + ":stream"));
}

// Wine gives long names an 8.3 alias of their own; where it gives none
// there is nothing to check.
TEST_F(FolderGuardTest, RefusesShortNamesOfProtectedFolders) {
    int checked = 0;
    for (const std::string& folder : {ProgramFiles(), ProfileRoot(), ProfileRoot() + "\\.."}) {
        const std::string shortName = ShortName(folder);
        if (shortName.empty()) continue;
        ++checked;
        EXPECT_FALSE(guard.MayDestroyBelow(shortName)) << shortName;
    }
    if (checked == 0) GTEST_SKIP() << "no short names in this prefix";
}

TEST_F(FolderGuardTest, AllowsFoldersBelowTheTemporaryFolder) {
    TempFolder temp;
    EXPECT_TRUE(guard.MayDestroyBelow(temp.Path()));
    std::string withoutBackslash = temp.Path();
    withoutBackslash.pop_back();
    EXPECT_TRUE(guard.MayDestroyBelow(withoutBackslash));
    EXPECT_TRUE(guard.MayDestroyBelow(temp / "not there yet"));
    ASSERT_TRUE(MakeDirectories(temp / "Some Long Folder Name\\inner"));
    EXPECT_TRUE(guard.MayDestroyBelow(temp / "Some Long Folder Name\\inner\\"));
    const std::string shortName = ShortName(temp / "Some Long Folder Name");
    if (!shortName.empty()) {
        EXPECT_TRUE(guard.MayDestroyBelow(shortName)) << shortName;
    }
}

TEST_F(FolderGuardTest, ResolvesRelativeLocationsAgainstTheCurrentFolder) {
    const CurrentFolder current(ProfileRoot());
    ASSERT_TRUE(current.Changed());
    EXPECT_FALSE(guard.MayDestroyBelow("."));
    EXPECT_FALSE(guard.MayDestroyBelow(".."));
    EXPECT_FALSE(guard.MayDestroyBelow("\\"));
    TempFolder temp;
    const CurrentFolder inTemp(temp.Path());
    ASSERT_TRUE(inTemp.Changed());
    EXPECT_TRUE(guard.MayDestroyBelow("."));
    EXPECT_TRUE(guard.MayDestroyBelow("sub"));
}

TEST_F(FolderGuardTest, CollectsEachProtectedFolder) {
    const auto& kept = guard.ProtectedFolders();
    const std::pair<std::string, KeptFolder> expected[] = {{WindowsFolder(), KeptFolder::Windows},
                                                           {SystemFolder(), KeptFolder::System},
                                                           {ProgramFiles(), KeptFolder::ProgramFiles},
                                                           {ProfileRoot(), KeptFolder::Profile}};
    for (const auto& [folder, kind] : expected) {
        const auto found = std::find_if(kept.begin(), kept.end(),
                                        [&](const ProtectedFolder& entry) { return entry.path == folder; });
        ASSERT_NE(found, kept.end()) << folder;
        EXPECT_EQ(found->kind, kind) << folder;
    }
}

TEST_F(FolderGuardTest, RefusalsNameTheReasonAndTheKind) {
    using Reason = FolderRefusal::Reason;
    struct Case {
        std::string folder;
        Reason reason;
        KeptFolder kept;
    };
    // The Windows folder's parent is its drive's root where it lies there.
    const bool windowsAtRoot = WindowsFolder().find_last_of('\\') == 2;
    const Case cases[] = {
        {WindowsFolder(), Reason::IsKept, KeptFolder::Windows},
        {WindowsFolder() + "\\..", windowsAtRoot ? Reason::WholeDrive : Reason::HoldsKept, KeptFolder::Windows},
        {SystemFolder(), Reason::IsKept, KeptFolder::System},
        {ProgramFiles() + "\\", Reason::IsKept, KeptFolder::ProgramFiles},
        {ProfileRoot(), Reason::IsKept, KeptFolder::Profile},
        {ProfileRoot() + "\\..", Reason::HoldsKept, KeptFolder::Profile},
        {"C:\\", Reason::WholeDrive, KeptFolder::Windows},
        {"", Reason::NotFullPath, KeptFolder::Windows},
        {"C:\\*", Reason::NotFullPath, KeptFolder::Windows},
    };
    for (const Case& c : cases) {
        const auto refusal = guard.RefusalBelow(c.folder);
        ASSERT_TRUE(refusal) << c.folder;
        EXPECT_EQ(refusal->reason, c.reason) << c.folder;
        EXPECT_EQ(refusal->kept, c.kept) << c.folder;
    }
    TempFolder temp;
    EXPECT_FALSE(guard.RefusalBelow(temp.Path()));
}

TEST(TempDir, EmptyWhenTheTemporaryPathDoesNotFit) {
    const std::string longPath = "C:\\" + std::string(297, 'x');
    ASSERT_EQ(longPath.size(), 300u);
    {
        const EnvironmentOverride tmp("TMP", longPath);
        const EnvironmentOverride temp("TEMP", longPath);
        EXPECT_EQ(GetTempDir(), "");
    }
    const std::string restored = GetTempDir();
    ASSERT_FALSE(restored.empty());
    EXPECT_EQ(restored.back(), '\\');
}

TEST(RecycleBin, NoFolderForAnEmptySid) {
    OsFlags nt;
    nt.IsNT = true;
    nt.IsNTPlatform = true;
    EXPECT_EQ(RecycleBinFolder(nt, ProfileRoot(), ""), "");
    EXPECT_EQ(RecycleBinFolder(nt, "Q:\\Profiles\\alice", "S-1-5-21-7-7-7-1000"), "c:\\recycler\\S-1-5-21-7-7-7-1000\\");
}

}  // namespace
}  // namespace tarnwell::testing
