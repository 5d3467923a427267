// The by-name binder with every call newer than Windows 95 and NT 4
// hidden, and what the program uses in their place. The switch is read
// once per process, at the first lookup: this program sets it before any
// test runs (its test entry also sets it in the environment).
#include <gtest/gtest.h>

#include <cstdint>

#include "engine/file_info_win.h"
#include "engine/removal_root_win.h"
#include "engine/secure_delete.h"
#include "tests/win32/support/tarnwell_process.h"
#include "ui/late_bound.h"

namespace tarnwell::testing {
namespace {

[[maybe_unused]] const bool kSwitchSet = ::SetEnvironmentVariableA("TARNWELL_NO_LATER_API", "1") != FALSE;

using TickCount = DWORD(WINAPI*)();
using VersionInfoSize = DWORD(WINAPI*)(LPCSTR, LPDWORD);

TEST(LateBound, TheSwitchIsOn) { EXPECT_TRUE(LaterApiHidden()); }

TEST(LateBound, FunctionsEverySystemHasAreStillFound) {
    const auto tickCount = BindOptional<TickCount>("kernel32.dll", "GetTickCount");
    ASSERT_NE(tickCount, nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(tickCount),
              reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetTickCount")));
    EXPECT_EQ(BindOptional<TickCount>("kernel32.dll", "GetTickCount"), tickCount);
    // A module the program does not import is loaded for the lookup.
    EXPECT_NE(BindOptional<VersionInfoSize>("version.dll", "GetFileVersionInfoSizeA"), nullptr);
}

TEST(LateBound, MissingFunctionsAndModulesReadAsMissing) {
    EXPECT_EQ(BindOptional<TickCount>("kernel32.dll", "TarnwellNoSuchFunction"), nullptr);
    EXPECT_EQ(BindOptional<TickCount>("tarnwell-no-such-module.dll", "GetTickCount"), nullptr);
}

TEST(LateBound, FunctionsNewerThanTheOldestSystemsReadAsMissing) {
    struct Later {
        const char* module;
        const char* name;
    };
    const Later later[] = {
        {"kernel32.dll", "GetFileAttributesExA"},         {"kernel32.dll", "GetLongPathNameA"},
        {"kernel32.dll", "GetFinalPathNameByHandleA"},    {"kernel32.dll", "SetFileInformationByHandle"},
        {"kernel32.dll", "GetFileInformationByHandleEx"}, {"user32.dll", "SetLayeredWindowAttributes"},
        {"shell32.dll", "SHGetFolderLocation"},           {"shell32.dll", "SHEmptyRecycleBinA"},
        {"uxtheme.dll", "EnableThemeDialogTexture"},
    };
    for (const Later& f : later) {
        EXPECT_EQ(BindLater<TickCount>(f.module, f.name), nullptr) << f.name;
        // Wine has every one of them: the switch alone hides them.
        Library module(::LoadLibraryA(f.module));
        EXPECT_NE(::GetProcAddress(module.get(), f.name), nullptr) << f.name;
    }
}

std::uint64_t Ticks(const FILETIME& time) {
    return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

// What QueryFileInfo reads from the directory entry against what the
// attribute call (still imported by this test) gives.
void ExpectAsTheAttributeCall(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA expected;
    ASSERT_TRUE(::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &expected)) << path;
    const auto actual = QueryFileInfo(path);
    ASSERT_TRUE(actual) << path;
    EXPECT_EQ(actual->dwFileAttributes, expected.dwFileAttributes) << path;
    EXPECT_EQ(actual->nFileSizeHigh, expected.nFileSizeHigh) << path;
    EXPECT_EQ(actual->nFileSizeLow, expected.nFileSizeLow) << path;
    EXPECT_EQ(Ticks(actual->ftCreationTime), Ticks(expected.ftCreationTime)) << path;
    EXPECT_EQ(Ticks(actual->ftLastAccessTime), Ticks(expected.ftLastAccessTime)) << path;
    EXPECT_EQ(Ticks(actual->ftLastWriteTime), Ticks(expected.ftLastWriteTime)) << path;
}

FILETIME Date(WORD year) {
    const SYSTEMTIME time{year, 3, 0, 14, 9, 26, 53, 0};
    FILETIME stamp{};
    ::SystemTimeToFileTime(&time, &stamp);
    return stamp;
}

TEST(FileInfoFromTheDirectoryEntry, MatchesTheAttributeCallForFilesAndFolders) {
    TempFolder folder;
    ASSERT_TRUE(WriteTextFile(folder / "data.txt", std::string(12345, 'x')));
    {
        KernelHandle file(::CreateFileA((folder / "data.txt").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
        const FILETIME created = Date(2001), accessed = Date(2002), written = Date(2003);
        ASSERT_TRUE(::SetFileTime(file.get(), &created, &accessed, &written));
    }
    ASSERT_TRUE(MakeDirectories(folder / "sub"));
    ExpectAsTheAttributeCall(folder / "sub");
    ExpectAsTheAttributeCall(folder / "sub\\");
    // An attribute other than the usual one travels too.
    ASSERT_TRUE(::SetFileAttributesA((folder / "data.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    ExpectAsTheAttributeCall(folder / "data.txt");
    ::SetFileAttributesA((folder / "data.txt").c_str(), FILE_ATTRIBUTE_NORMAL);  // so the folder can go
}

TEST(FileInfoFromTheDirectoryEntry, ADriveRootGetsItsAttributes) {
    const DWORD expected = ::GetFileAttributesA("C:\\");
    ASSERT_NE(expected, INVALID_FILE_ATTRIBUTES);
    const auto actual = QueryFileInfo("C:\\");
    ASSERT_TRUE(actual);
    EXPECT_EQ(actual->dwFileAttributes, expected);
}

TEST(FileInfoFromTheDirectoryEntry, NamesArePlainNamesNeverPatterns) {
    TempFolder folder;
    ASSERT_TRUE(WriteTextFile(folder / "data.txt", "x"));
    EXPECT_TRUE(QueryFileInfo(folder / "data.txt"));
    EXPECT_FALSE(QueryFileInfo(folder / "dat?.txt"));
    EXPECT_FALSE(QueryFileInfo(folder / "*.txt"));
    EXPECT_FALSE(QueryFileInfo(folder / "data.txt\\"));
    EXPECT_FALSE(QueryFileInfo(folder / "missing.txt"));
}

TEST(FilePosition, SizeAndSeekOfAnOpenFile) {
    TempFolder folder;
    ASSERT_TRUE(WriteTextFile(folder / "digits.txt", "0123456789"));
    KernelHandle file(
        ::CreateFileA((folder / "digits.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    EXPECT_EQ(OpenFileSize(file.get()), std::optional<std::int64_t>(10));
    ASSERT_TRUE(SeekFromStart(file.get(), 7));
    char digit = 0;
    DWORD read = 0;
    ASSERT_TRUE(::ReadFile(file.get(), &digit, 1, &read, nullptr));
    EXPECT_EQ(digit, '7');
    EXPECT_FALSE(SeekFromStart(file.get(), -1));
}

TEST(FilePosition, FailuresOnAHandleThatIsNoFile) {
    for (HANDLE handle : {INVALID_HANDLE_VALUE, HANDLE{}}) {
        EXPECT_FALSE(OpenFileSize(handle));
        EXPECT_FALSE(SeekFromStart(handle, 0));
        EXPECT_FALSE(SeekFromStart(handle, 0xFFFFFFFF));
    }
}

// 4 GiB less one byte (sparse): the low word of the length and of the
// position is then the very value both calls return on failure.
TEST(FilePosition, ALowWordEqualToTheFailureValueIsNoFailure) {
    TempFolder folder;
    KernelHandle file(::CreateFileA((folder / "edge.bin").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    constexpr std::int64_t kEdge = 0xFFFFFFFF;
    ASSERT_TRUE(SeekFromStart(file.get(), kEdge));
    ASSERT_TRUE(::SetEndOfFile(file.get()));
    EXPECT_EQ(OpenFileSize(file.get()), std::optional<std::int64_t>(kEdge));
    LARGE_INTEGER zero{}, position{};
    ASSERT_TRUE(::SetFilePointerEx(file.get(), zero, &position, FILE_CURRENT));
    EXPECT_EQ(position.QuadPart, kEdge);
    ASSERT_TRUE(SeekFromStart(file.get(), 2));
    ASSERT_TRUE(::SetFilePointerEx(file.get(), zero, &position, FILE_CURRENT));
    EXPECT_EQ(position.QuadPart, 2);
}

// Without the call that names a handle's file, the removal routine looks
// at the folders between the root and the file: one that is a link (a Unix
// folder link here, a junction on Windows 2000 and XP) keeps the file
// reached through it.
// Uses the fourth tree of tests/win32/link_fixtures.sh.
TEST(RemovalWithTheOldestCalls, FilesReachedThroughAFolderLinkAreLeft) {
    const std::string tree = "C:\\tw-links\\tree4\\", outside = "C:\\tw-links\\outside4\\";
    ASSERT_TRUE(FileExists(tree + "folder-link")) << "run tests/win32/link_fixtures.sh first";
    RemovalOptions options;
    const TRemovalRoot root(tree);
    RemovalContext context;
    context.Options = [&] { return options; };
    context.Root = &root;
    SecureDeleteFile(tree + "folder-link\\inner.txt", context);
    EXPECT_EQ(ReadTextFile(outside + "folder\\inner.txt"), "sentinel in folder 4");
    // The tree's own files, in its own folders, go as usual.
    SecureDeleteFile(tree + "sub\\deep.txt", context);
    EXPECT_FALSE(FileExists(tree + "sub\\deep.txt"));
    SecureDeleteFile(tree + "plain.txt", context);
    EXPECT_FALSE(FileExists(tree + "plain.txt"));
}

}  // namespace
}  // namespace tarnwell::testing
