// The removal routine on real files of the test prefix. What a pass did
// is looked at from the routine's own after-pass callback.
#include <gtest/gtest.h>

#include <vector>

#include "engine/random.h"
#include "engine/removal_root_win.h"
#include "engine/secure_delete.h"
#include "tests/win32/support/tarnwell_process.h"

namespace tarnwell::testing {
namespace {

// The files of a folder with their sizes.
std::vector<std::pair<std::string, std::int64_t>> Listing(const std::string& folder) {
    std::vector<std::pair<std::string, std::int64_t>> files;
    WIN32_FIND_DATAA entry;
    HANDLE search = ::FindFirstFileA((folder + "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.emplace_back(entry.cFileName, (std::int64_t{entry.nFileSizeHigh} << 32) | entry.nFileSizeLow);
    } while (::FindNextFileA(search, &entry));
    ::FindClose(search);
    return files;
}

bool SetLastWriteYear(const std::string& path, WORD year) {
    KernelHandle file(::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    SYSTEMTIME time{year, 6, 0, 15, 12, 0, 0, 0};
    FILETIME stamp;
    return file && ::SystemTimeToFileTime(&time, &stamp) && ::SetFileTime(file.get(), nullptr, nullptr, &stamp);
}

class SecureDelete : public ::testing::Test {
protected:
    RemovalContext Context() {
        RemovalContext context;
        context.Options = [this] { return options; };
        context.ProcessMessages = [this] { passes.push_back(Listing(folder.Path())); };
        context.Random = &random;
        return context;
    }
    std::string Delete(const std::string& name) {
        SecureDeleteFile(folder / name, Context());
        return name;
    }

    TempFolder folder;
    RemovalOptions options;
    TRandom random{12345};
    std::vector<std::vector<std::pair<std::string, std::int64_t>>> passes;
};

TEST_F(SecureDelete, DefaultsGrowOverwriteRenameTruncateAndDelete) {
    ASSERT_TRUE(WriteTextFile(folder / "notes.txt", "0123456789"));
    bool contentOk = false;
    RemovalContext context = Context();
    context.ProcessMessages = [&] {
        const auto files = Listing(folder.Path());
        ASSERT_EQ(files.size(), 1u);
        EXPECT_EQ(files[0].first.substr(0, 1), "~");
        EXPECT_EQ(files[0].first.substr(files[0].first.size() - 4), ".txt");
        EXPECT_EQ(files[0].second, 65536);
        const std::string content = ReadTextFile(folder / files[0].first);
        contentOk = content.size() == 65536 && static_cast<unsigned char>(content[0]) < 128 &&
                    content.find_first_not_of(content[0]) == std::string::npos;
    };
    SecureDeleteFile(folder / "notes.txt", context);
    EXPECT_TRUE(contentOk);
    EXPECT_TRUE(Listing(folder.Path()).empty());
}

TEST_F(SecureDelete, EmptyFileIsGrownOnlyWithTheMinimumOption) {
    ASSERT_TRUE(WriteTextFile(folder / "empty", ""));
    options.Scramble = false;
    Delete("empty");
    ASSERT_EQ(passes.size(), 1u);
    EXPECT_EQ(passes[0][0].second, 65536);

    passes.clear();
    ASSERT_TRUE(WriteTextFile(folder / "empty", ""));
    options.OverMin = false;
    Delete("empty");
    EXPECT_EQ(passes[0][0].second, 0);
    EXPECT_FALSE(FileExists(folder / "empty"));
}

TEST_F(SecureDelete, ExactLengthsAreKept) {
    options.Scramble = false;
    options.OverMin = false;
    for (int size : {8192, 8193}) {
        passes.clear();
        ASSERT_TRUE(WriteTextFile(folder / "block.bin", std::string(static_cast<size_t>(size), '\xff')));
        Delete("block.bin");
        ASSERT_EQ(passes.size(), 1u);
        EXPECT_EQ(passes[0][0].second, size);
    }
}

TEST_F(SecureDelete, ThreePassesOfRenamingOnly) {
    ASSERT_TRUE(WriteTextFile(folder / "report", "keep my bytes"));
    options = RemovalOptions{false, true, false, false, false, "3"};
    std::vector<std::string> names;
    RemovalContext context = Context();
    context.ProcessMessages = [&] {
        const auto files = Listing(folder.Path());
        ASSERT_EQ(files.size(), 1u);
        names.push_back(files[0].first);
        EXPECT_EQ(ReadTextFile(folder / files[0].first), "keep my bytes");
    };
    SecureDeleteFile(folder / "report", context);
    ASSERT_EQ(names.size(), 3u);
    for (const std::string& name : names) {
        EXPECT_EQ(name[0], '~');
        EXPECT_EQ(name.find('.'), std::string::npos);  // no extension, no dot
    }
    EXPECT_NE(names[0], names[1]);
    EXPECT_TRUE(Listing(folder.Path()).empty());
}

// An emptied or mistyped field used to make every removal do nothing while
// sweeps reported success: the count is clamped to 1..99 instead.
TEST_F(SecureDelete, PassCountIsClampedToOneToNinetyNine) {
    const std::pair<const char*, size_t> cases[] = {{"x", 1}, {"", 1}, {"0", 1}, {"-5", 1}, {"150", 99}};
    for (const auto& [text, count] : cases) {
        ASSERT_TRUE(WriteTextFile(folder / "a.txt", "data"));
        passes.clear();
        options.Passes = text;
        EXPECT_EQ(SecureDeleteFile(folder / "a.txt", Context()), RemovalOutcome::Destroyed) << text;
        EXPECT_EQ(passes.size(), count) << text;
    }
}

TEST_F(SecureDelete, FileOpenElsewhereIsLeftUntouched) {
    ASSERT_TRUE(WriteTextFile(folder / "locked.txt", "in use"));
    KernelHandle holder(::CreateFileA((folder / "locked.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    Delete("locked.txt");
    holder.reset();
    EXPECT_TRUE(passes.empty());
    EXPECT_EQ(ReadTextFile(folder / "locked.txt"), "in use");
}

// A date that DOS time cannot hold says nothing about whether the file
// exists: such files are destroyed like any other.
TEST_F(SecureDelete, FilesDatedOutsideDosTimeAreDestroyed) {
    for (WORD year : {1979, 2110}) {
        const std::string name = "dated" + std::to_string(year) + ".txt";
        ASSERT_TRUE(WriteTextFile(folder / name, "old"));
        ASSERT_TRUE(SetLastWriteYear(folder / name, year));
        EXPECT_EQ(SecureDeleteFile(folder / name, Context()), RemovalOutcome::Destroyed) << year;
        EXPECT_FALSE(FileExists(folder / name)) << year;
    }
}

// Overwriting a large file lets messages run between blocks, not only
// after the pass.
TEST_F(SecureDelete, LargeFileLetsMessagesRunWhileItIsOverwritten) {
    const std::string big = folder / "big.bin";
    {
        KernelHandle file(::CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        LARGE_INTEGER length;
        length.QuadPart = 16 << 20;
        ASSERT_TRUE(::SetFilePointerEx(file.get(), length, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.get()));
    }
    options.Scramble = false;
    EXPECT_EQ(SecureDeleteFile(big, Context()), RemovalOutcome::Destroyed);
    EXPECT_GE(passes.size(), 16u);  // one per MiB overwritten, and one after the pass
}

TEST_F(SecureDelete, HardLinkedFileIsDeletedWithoutTouchingItsData) {
    ASSERT_TRUE(WriteTextFile(folder / "original.doc", "shared data"));
    ASSERT_TRUE(::CreateHardLinkA((folder / "second.doc").c_str(), (folder / "original.doc").c_str(), nullptr));
    Delete("second.doc");
    EXPECT_FALSE(FileExists(folder / "second.doc"));
    EXPECT_EQ(ReadTextFile(folder / "original.doc"), "shared data");
    EXPECT_EQ(Listing(folder.Path()).size(), 1u);
}

TEST_F(SecureDelete, LinksToFilesOutsideAreNeverFollowed) {
    const std::string tree = "C:\\tw-links\\tree2\\", outside = "C:\\tw-links\\outside2\\";
    ASSERT_TRUE(FileExists(tree + "file-link.txt")) << "run tests/win32/link_fixtures.sh first";
    const TRemovalRoot root(tree);
    RemovalContext context = Context();
    context.Root = &root;
    EXPECT_EQ(SecureDeleteFile(tree + "file-link.txt", context), RemovalOutcome::Survived);
    // Without a root of its own a file's folder is the root: a link to a
    // file elsewhere still does not lie in it.
    EXPECT_EQ(SecureDeleteFile(tree + "file-link.txt", Context()), RemovalOutcome::Survived);
    EXPECT_EQ(ReadTextFile(outside + "secret.txt"), "sentinel file 2");
    EXPECT_TRUE(FileExists(tree + "file-link.txt"));
    EXPECT_TRUE(passes.empty());
    // The tree's own file goes as usual.
    EXPECT_EQ(SecureDeleteFile(tree + "plain.txt", context), RemovalOutcome::Destroyed);
    EXPECT_FALSE(FileExists(tree + "plain.txt"));
}

// Below a root, a file reached through a folder link inside it is never
// destroyed, on every system.
TEST_F(SecureDelete, FolderLinksInsideTheRootAreNeverFollowed) {
    const std::string tree = "C:\\tw-links\\tree1\\", outside = "C:\\tw-links\\outside1\\";
    ASSERT_TRUE(FileExists(tree + "folder-link")) << "run tests/win32/link_fixtures.sh first";
    const TRemovalRoot root(tree);
    RemovalContext context = Context();
    context.Root = &root;
    EXPECT_EQ(SecureDeleteFile(tree + "folder-link\\inner.txt", context), RemovalOutcome::Survived);
    EXPECT_EQ(ReadTextFile(outside + "folder\\inner.txt"), "sentinel in folder 1");
    // A file of the test's own, in the tree's own folder, goes as usual.
    ASSERT_TRUE(WriteTextFile(tree + "sub\\own.txt", "own"));
    EXPECT_EQ(SecureDeleteFile(tree + "sub\\own.txt", context), RemovalOutcome::Destroyed);
}

// A root that is itself reached through a link (a mapped drive, a system
// junction, Wine's desktop link) is taken as named: what lies below it goes.
TEST_F(SecureDelete, RootReachedThroughALinkIsSwept) {
    const std::string named = "C:\\tw-links\\root-link8\\", real = "C:\\tw-links\\tree8\\";
    ASSERT_TRUE(FileExists(named + "folder-link")) << "run tests/win32/link_fixtures.sh first";
    ASSERT_TRUE(WriteTextFile(real + "one.txt", "one"));
    ASSERT_TRUE(WriteTextFile(real + "sub\\two.txt", "two"));
    const TRemovalRoot root(named);
    RemovalContext context = Context();
    context.Root = &root;
    EXPECT_EQ(SecureDeleteFile(named + "one.txt", context), RemovalOutcome::Destroyed);
    EXPECT_FALSE(FileExists(real + "one.txt"));
    // The caller named the file through the link itself.
    EXPECT_EQ(SecureDeleteFile(named + "sub\\two.txt", Context()), RemovalOutcome::Destroyed);
    EXPECT_FALSE(FileExists(real + "sub\\two.txt"));
}

TEST_F(SecureDelete, FilesOfTwoGigabytesAndMoreAreOverwrittenInFull) {
    const std::string big = folder / "huge.bin";
    const std::int64_t size = (2LL << 30) + 1;
    {
        KernelHandle file(::CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        LARGE_INTEGER length;
        length.QuadPart = size;
        ASSERT_TRUE(::SetFilePointerEx(file.get(), length, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.get()));
    }
    options.Scramble = false;
    random.Seed(7);  // a seed whose first fill value is not 0
    unsigned char first = 0, last = 0;
    RemovalContext context = Context();
    context.ProcessMessages = [&] {
        KernelHandle file(::CreateFileA(big.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        DWORD read = 0;
        ::ReadFile(file.get(), &first, 1, &read, nullptr);
        LARGE_INTEGER end;
        end.QuadPart = size - 1;
        ::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN);
        ::ReadFile(file.get(), &last, 1, &read, nullptr);
    };
    SecureDeleteFile(big, context);
    EXPECT_NE(first, 0);
    EXPECT_EQ(last, first);
    EXPECT_FALSE(FileExists(big));
}

}  // namespace
}  // namespace tarnwell::testing
