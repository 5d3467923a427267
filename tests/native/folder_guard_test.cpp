#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/folder_guard.h"

namespace tarnwell {
namespace {

const std::vector<std::string> kProtected = {
    "C:\\WINDOWS",
    "C:\\WINDOWS\\system32",
    "C:\\Program Files",
    "C:\\Documents and Settings\\alice",
};

bool MayDestroy(const char* folder) { return MayDestroyBelow(folder, kProtected); }

std::string Normal(const char* path) { return NormalizeAbsolutePath(path).value_or("<none>"); }

TEST(FolderGuard, NormalizesDriveRoots) {
    EXPECT_EQ(Normal("C:"), "C:\\");
    EXPECT_EQ(Normal("c:\\"), "c:\\");
    EXPECT_EQ(Normal("C:\\\\\\\\"), "C:\\");
    EXPECT_EQ(Normal("C:/"), "C:\\");
    EXPECT_EQ(Normal("C:\\Windows\\.."), "C:\\");
    EXPECT_EQ(Normal("C:\\..\\..\\.."), "C:\\");
    EXPECT_EQ(Normal("C:\\."), "C:\\");
}

TEST(FolderGuard, NormalizesFolders) {
    EXPECT_EQ(Normal("C:\\WINDOWS\\"), "C:\\WINDOWS");
    EXPECT_EQ(Normal("C:/Windows//System32///"), "C:\\Windows\\System32");
    EXPECT_EQ(Normal("C:\\Windows\\System32\\..\\Temp\\.\\x"), "C:\\Windows\\Temp\\x");
    EXPECT_EQ(Normal("C:\\..\\Windows"), "C:\\Windows");
    EXPECT_EQ(Normal("C:\\Windows.\\System32 .. \\"), "C:\\Windows\\System32");
    EXPECT_EQ(Normal("C:\\a b\\c.d"), "C:\\a b\\c.d");
}

TEST(FolderGuard, NormalizesShares) {
    EXPECT_EQ(Normal("\\\\server\\share\\"), "\\\\server\\share");
    EXPECT_EQ(Normal("//server//share//dir/"), "\\\\server\\share\\dir");
    EXPECT_EQ(Normal("\\\\server\\share\\dir\\..\\.."), "\\\\server\\share");
}

TEST(FolderGuard, RefusesWhatIsNoAbsolutePath) {
    EXPECT_EQ(Normal(""), "<none>");
    EXPECT_EQ(Normal("\\"), "<none>");
    EXPECT_EQ(Normal("\\temp"), "<none>");
    EXPECT_EQ(Normal("temp"), "<none>");
    EXPECT_EQ(Normal("C:temp"), "<none>");
    EXPECT_EQ(Normal("1:\\temp"), "<none>");
    EXPECT_EQ(Normal("\\\\server"), "<none>");
    EXPECT_EQ(Normal("\\\\server\\"), "<none>");
    EXPECT_EQ(Normal("\\\\\\server\\share"), "<none>");
    EXPECT_EQ(Normal("\\\\server\\..\\x"), "<none>");
    EXPECT_EQ(Normal("\\\\?\\C:\\Windows"), "<none>");
    EXPECT_EQ(Normal("\\\\.\\C:"), "<none>");
    EXPECT_EQ(Normal("C:\\Windows:$I30:$INDEX_ALLOCATION"), "<none>");
    EXPECT_EQ(Normal("C:\\Win*"), "<none>");
    EXPECT_EQ(Normal("C:\\Windows\\...\\x"), "<none>");
    EXPECT_EQ(Normal("C:\\Windows\\ \\x"), "<none>");
    EXPECT_FALSE(NormalizeAbsolutePath(std::string_view("C:\\a\0b", 6)));
    EXPECT_EQ(Normal("C:\\a\tb"), "<none>");
}

TEST(FolderGuard, RefusesRoots) {
    EXPECT_FALSE(MayDestroy("C:\\"));
    EXPECT_FALSE(MayDestroy("c:"));
    EXPECT_FALSE(MayDestroy("C:\\\\\\\\"));
    EXPECT_FALSE(MayDestroy("D:\\"));
    EXPECT_FALSE(MayDestroy("C:\\Windows\\.."));
    EXPECT_FALSE(MayDestroy("\\\\server\\share\\"));
    EXPECT_FALSE(MayDestroy("\\\\server\\share\\dir\\.."));
    // Roots are refused even with nothing protected.
    EXPECT_FALSE(MayDestroyBelow("C:\\", {}));
    EXPECT_FALSE(MayDestroyBelow("\\\\server\\share", {}));
}

TEST(FolderGuard, RefusesRelativeAndMalformedFolders) {
    EXPECT_FALSE(MayDestroy(""));
    EXPECT_FALSE(MayDestroy("\\"));
    EXPECT_FALSE(MayDestroy("temp"));
    EXPECT_FALSE(MayDestroy("C:temp"));
    EXPECT_FALSE(MayDestroy("\\\\?\\C:\\Temp"));
    EXPECT_FALSE(MayDestroy("C:\\Temp:stream"));
    EXPECT_FALSE(MayDestroyBelow("temp", {}));
}

TEST(FolderGuard, RefusesProtectedFoldersWhateverTheirSpelling) {
    EXPECT_FALSE(MayDestroy("C:\\WINDOWS\\"));
    EXPECT_FALSE(MayDestroy("C:\\Windows"));
    EXPECT_FALSE(MayDestroy("c:/windows/SYSTEM32"));
    EXPECT_FALSE(MayDestroy("C:\\Windows\\System32\\.."));
    EXPECT_FALSE(MayDestroy("C:\\Windows.\\"));
    EXPECT_FALSE(MayDestroy("C:\\Temp\\..\\Program Files"));
    EXPECT_FALSE(MayDestroy("C:\\Documents and Settings\\alice"));
    EXPECT_FALSE(MayDestroy("C:\\DOCUMENTS AND SETTINGS\\ALICE\\"));
}

TEST(FolderGuard, RefusesParentsOfProtectedFolders) {
    EXPECT_FALSE(MayDestroy("C:\\Documents and Settings"));
    EXPECT_FALSE(MayDestroy("C:\\Documents and Settings\\alice\\.."));
}

TEST(FolderGuard, AllowsFoldersBelowAndBesideProtectedOnes) {
    EXPECT_TRUE(MayDestroy("C:\\Documents and Settings\\alice\\Local Settings\\Temp"));
    EXPECT_TRUE(MayDestroy("C:\\Documents and Settings\\alice\\Cookies\\"));
    EXPECT_TRUE(MayDestroy("C:\\Documents and Settings\\bob"));
    EXPECT_TRUE(MayDestroy("C:\\Windows\\Temp"));
    EXPECT_TRUE(MayDestroy("C:\\Windows2"));
    EXPECT_TRUE(MayDestroy("C:\\Win"));
    EXPECT_TRUE(MayDestroy("C:\\Program Files Old"));
    EXPECT_TRUE(MayDestroy("D:\\Windows"));
    EXPECT_TRUE(MayDestroy("\\\\server\\share\\Temp"));
}

TEST(FolderGuard, ASharedPrefixIsNoParent) {
    // Neither "C:\Windows2" nor "C:\Windows" lies in the other.
    EXPECT_TRUE(MayDestroyBelow("C:\\Windows2", std::vector<std::string>{"C:\\Windows"}));
    EXPECT_TRUE(MayDestroyBelow("C:\\Windows", std::vector<std::string>{"C:\\Windows2"}));
    EXPECT_FALSE(MayDestroyBelow("C:\\Windows", std::vector<std::string>{"C:\\Windows\\2"}));
}

TEST(FolderGuard, ProtectedFoldersOnSharesAndOtherDrives) {
    const std::vector<std::string> kept = {"\\\\Server\\Share\\Profiles\\alice", "D:\\Apps"};
    EXPECT_FALSE(MayDestroyBelow("\\\\server\\share\\profiles", kept));
    EXPECT_FALSE(MayDestroyBelow("\\\\SERVER\\SHARE\\PROFILES\\ALICE", kept));
    EXPECT_TRUE(MayDestroyBelow("\\\\server\\share\\profiles\\alice\\Temp", kept));
    EXPECT_TRUE(MayDestroyBelow("\\\\server\\other\\profiles", kept));
    EXPECT_FALSE(MayDestroyBelow("d:\\apps", kept));
    EXPECT_TRUE(MayDestroyBelow("C:\\Apps", kept));
}

TEST(FolderGuard, EmptyOrMalformedProtectedFoldersProtectNothing) {
    const std::vector<std::string> kept = {"", "\\", "relative", "C:\\x:y", "C:\\Kept"};
    EXPECT_TRUE(MayDestroyBelow("C:\\Temp", kept));
    EXPECT_FALSE(MayDestroyBelow("C:\\Kept", kept));
}

const std::vector<ProtectedFolder> kKinds = {
    {"C:\\WINDOWS", KeptFolder::Windows},
    {"C:\\WINDOWS\\system32", KeptFolder::System},
    {"relative", KeptFolder::ProgramFiles},
    {"C:\\Program Files", KeptFolder::ProgramFiles},
    {"C:\\Documents and Settings\\alice", KeptFolder::Profile},
};

TEST(FolderRefusal, NamesTheReasonAndTheFirstProtectedFolderMatched) {
    using Reason = FolderRefusal::Reason;
    struct Case {
        const char* folder;
        Reason reason;
        KeptFolder kept;
    };
    const Case cases[] = {
        {"", Reason::NotFullPath, KeptFolder::Windows},
        {"relative", Reason::NotFullPath, KeptFolder::Windows},
        {"C:temp", Reason::NotFullPath, KeptFolder::Windows},
        {"\\\\?\\C:\\Temp", Reason::NotFullPath, KeptFolder::Windows},
        {"C:", Reason::WholeDrive, KeptFolder::Windows},
        {"D:\\", Reason::WholeDrive, KeptFolder::Windows},
        {"C:\\Windows\\..", Reason::WholeDrive, KeptFolder::Windows},
        {"\\\\server\\share\\", Reason::WholeDrive, KeptFolder::Windows},
        {"c:/windows/", Reason::IsKept, KeptFolder::Windows},
        {"C:\\Windows\\System32", Reason::IsKept, KeptFolder::System},
        {"C:\\Program Files.", Reason::IsKept, KeptFolder::ProgramFiles},
        {"C:\\Documents and Settings\\ALICE\\", Reason::IsKept, KeptFolder::Profile},
        {"C:\\Documents and Settings", Reason::HoldsKept, KeptFolder::Profile},
        {"C:\\Windows\\System32\\..", Reason::IsKept, KeptFolder::Windows},
    };
    for (const Case& c : cases) {
        const auto refusal = RefusalBelow(c.folder, kKinds);
        ASSERT_TRUE(refusal) << c.folder;
        EXPECT_EQ(refusal->reason, c.reason) << c.folder;
        EXPECT_EQ(refusal->kept, c.kept) << c.folder;
    }
}

TEST(FolderRefusal, TheFirstMatchInListOrderNamesTheKind) {
    // The system folder listed first: the Windows folder holds it.
    const std::vector<ProtectedFolder> systemFirst = {{"C:\\WINDOWS\\system32", KeptFolder::System},
                                                      {"C:\\WINDOWS", KeptFolder::Windows}};
    const auto refusal = RefusalBelow("C:\\Windows", systemFirst);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->reason, FolderRefusal::Reason::HoldsKept);
    EXPECT_EQ(refusal->kept, KeptFolder::System);
}

TEST(FolderRefusal, NoneWhereMayDestroyBelowAllows) {
    std::vector<std::string> paths;
    for (const ProtectedFolder& folder : kKinds) paths.push_back(folder.path);
    for (const char* folder : {"C:\\Windows\\Temp", "C:\\Windows2", "C:\\Documents and Settings\\bob",
                               "\\\\server\\share\\Temp", "C:\\Program Files Old", "C:\\Windows", "C:\\", "x"}) {
        EXPECT_EQ(!RefusalBelow(folder, kKinds), MayDestroyBelow(folder, paths)) << folder;
    }
    EXPECT_FALSE(RefusalBelow("C:\\Windows\\Temp", kKinds));
}

}  // namespace
}  // namespace tarnwell
