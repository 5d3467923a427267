// The Shredder on real files of the test prefix, with a real list box and
// button; its dialogs and message boxes are answered by the test.
#include <gtest/gtest.h>

#include <functional>

#include "shredder/shredder.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/tarnwell_process.h"

namespace tarnwell::testing {
namespace {

class Shredder : public ::testing::Test {
protected:
    void SetUp() override {
        window = ::CreateWindowExA(0, "STATIC", "shredder test", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
        listWindow = ::CreateWindowExA(0, "LISTBOX", nullptr, WS_CHILD | LBS_SORT | LBS_NOTIFY, 0, 0, 200, 200, window,
                                       nullptr, ::GetModuleHandleA(nullptr), nullptr);
        buttonWindow = ::CreateWindowExA(0, "BUTTON", "Shred", WS_CHILD, 0, 0, 50, 20, window, nullptr,
                                         ::GetModuleHandleA(nullptr), nullptr);
        list = std::make_unique<TListBox>(listWindow, 1);
        button = std::make_unique<TButton>(buttonWindow, 2);
        ShredderPrompts prompts;
        prompts.PickDirectory = [this] { return pickedDirectory; };
        prompts.PickFiles = [this] { return pickedFiles; };
        prompts.Inform = [this](const std::string& text) { informed.push_back(text); };
        prompts.Confirm = [this](const std::string& text) {
            asked.push_back(text);
            return answer;
        };
        shredder = std::make_unique<TShredder>(*list, *button, prompts, [this] {
            RemovalContext context;
            context.Options = [this] { return options; };
            context.ProcessMessages = [this] {
                ++passes;
                if (duringPass) duringPass();
            };
            return context;
        });
        options.Scramble = false;
    }
    void TearDown() override {
        shredder.reset();
        ::DestroyWindow(window);
    }
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        for (int i = 0; i < list->ItemCount(); ++i) lines.push_back(list->Item(i));
        return lines;
    }
    void AddDirectory(const std::string& path) {
        pickedDirectory = path;
        shredder->AddDirBTNClick();
    }
    void Shred() {
        shredder->ShredBTNClick();
        ASSERT_TRUE(PumpUntil([this] { return shredder->Idle() && !shredder->SweepRunning(); }));
    }

    TempFolder folder;
    HWND window = nullptr, listWindow = nullptr, buttonWindow = nullptr;
    std::unique_ptr<TListBox> list;
    std::unique_ptr<TButton> button;
    std::unique_ptr<TShredder> shredder;
    std::optional<std::string> pickedDirectory;
    std::vector<std::string> pickedFiles, informed, asked;
    bool answer = true;
    RemovalOptions options;
    int passes = 0;
    std::function<void()> duringPass;
};

TEST_F(Shredder, DriveRootsAreRefused) {
    for (const char* root : {"C:\\", "C:", "D:\\"}) AddDirectory(root);
    EXPECT_EQ(informed, std::vector<std::string>(3, kDriveRefusal));
    EXPECT_TRUE(Lines().empty());
    AddDirectory("D:\\Data");
    EXPECT_EQ(Lines(), std::vector<std::string>{"D:\\Data\\"});
    EXPECT_TRUE(asked.empty());
}

TEST_F(Shredder, FoldersThatMayHoldSystemOrPersonalFilesAskFirst) {
    answer = false;
    AddDirectory("C:\\OldWindowsFiles");
    AddDirectory("C:\\Documents and Settings\\ann\\Desktop");
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_TRUE(Lines().empty());
    answer = true;
    AddDirectory("E:\\stuff\\My Documents\\old\\");
    EXPECT_EQ(Lines(), std::vector<std::string>{"E:\\stuff\\My Documents\\old\\"});
}

TEST_F(Shredder, EntriesGoInReverseOrderAndVanishedOnesDropSilently) {
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) ASSERT_TRUE(WriteTextFile(folder / name, "secret"));
    pickedFiles = {folder / "b.txt", folder / "gone.txt", folder / "a.txt", folder / "c.txt"};
    shredder->AddFileBTNClick();
    std::vector<std::string> order;
    duringPass = [&] { order.push_back(list->Item(list->ItemCount() - 1)); };
    Shred();
    EXPECT_EQ(order, (std::vector<std::string>{folder / "c.txt", folder / "b.txt", folder / "a.txt"}));
    EXPECT_TRUE(Lines().empty());
    EXPECT_FALSE(FileExists(folder / "a.txt"));
}

TEST_F(Shredder, NoToTheShredQuestionChangesNothing) {
    ASSERT_TRUE(WriteTextFile(folder / "a.txt", "secret"));
    pickedFiles = {folder / "a.txt"};
    shredder->AddFileBTNClick();
    answer = false;
    shredder->ShredBTNClick();
    EXPECT_EQ(Lines().size(), 1u);
    EXPECT_TRUE(FileExists(folder / "a.txt"));
}

TEST_F(Shredder, FolderShredOverwritesEveryFileAndLeavesTheFolderEmpty) {
    const std::string target = folder / "target";
    ASSERT_TRUE(MakeDirectories(target + "\\sub\\deeper"));
    for (const char* name : {"one.doc", "sub\\two.doc", "sub\\deeper\\three.doc"})
        ASSERT_TRUE(WriteTextFile(target + "\\" + name, "private"));
    ::SetFileAttributesA((target + "\\sub\\two.doc").c_str(), FILE_ATTRIBUTE_NORMAL);
    AddDirectory(target);
    Shred();
    EXPECT_EQ(passes, 3);  // each file had its overwrite pass before going
    EXPECT_TRUE(FileExists(target));
    EXPECT_FALSE(FileExists(target + "\\sub"));
    EXPECT_FALSE(FileExists(target + "\\one.doc"));
    EXPECT_TRUE(Lines().empty());
}

TEST_F(Shredder, StopKeepsTheRestOfTheList) {
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(WriteTextFile(folder / ("f" + std::to_string(i)), std::string(100000, 'x')));
    for (int i = 0; i < 5; ++i) pickedFiles.push_back(folder / ("f" + std::to_string(i)));
    shredder->AddFileBTNClick();
    options.Passes = "3";
    duringPass = [&] {
        // While a file is being removed the list cannot be edited.
        shredder->ClearallBTNClick();
        AddDirectory(folder / "other");
        shredder->StopBTNClick();
    };
    Shred();
    EXPECT_EQ(Lines().size(), 4u);
    EXPECT_FALSE(FileExists(folder / "f4"));
    EXPECT_TRUE(FileExists(folder / "f3"));
    // The Stop of that run does not cancel the next one.
    duringPass = nullptr;
    Shred();
    EXPECT_TRUE(Lines().empty());
}

TEST_F(Shredder, FolderShredNeverReachesThroughLinks) {
    const std::string tree = "C:\\tw-links\\tree3", outside = "C:\\tw-links\\outside3\\";
    ASSERT_TRUE(FileExists(tree + "\\folder-link")) << "run tests/win32/link_fixtures.sh first";
    AddDirectory(tree);
    Shred();
    EXPECT_EQ(ReadTextFile(outside + "secret.txt"), "sentinel file 3");
    EXPECT_EQ(ReadTextFile(outside + "folder\\inner.txt"), "sentinel in folder 3");
    EXPECT_TRUE(FileExists(tree + "\\folder-link"));
    EXPECT_TRUE(FileExists(tree + "\\file-link.txt"));
    EXPECT_FALSE(FileExists(tree + "\\plain.txt"));
    EXPECT_FALSE(FileExists(tree + "\\sub"));
}

// The user listed the links themselves: they go, what they lead to stays
// and is never walked.
TEST_F(Shredder, ListedLinksAreRemovedAsLinks) {
    const std::string tree = "C:\\tw-links\\tree7\\", outside = "C:\\tw-links\\outside7\\";
    ASSERT_TRUE(FileExists(tree + "folder-link")) << "run tests/win32/link_fixtures.sh first";
    pickedFiles = {tree + "file-link.txt"};
    shredder->AddFileBTNClick();
    AddDirectory(tree + "folder-link");
    Shred();
    EXPECT_EQ(ReadTextFile(outside + "secret.txt"), "sentinel file 7");
    EXPECT_EQ(ReadTextFile(outside + "folder\\inner.txt"), "sentinel in folder 7");
    EXPECT_EQ(passes, 0);
    // Windows removes junctions and symbolic links as links. Wine shows a
    // Unix file link as a plain file and deletes a Unix link's target
    // when asked to delete the link, and cannot remove a folder link:
    // here both links stay and are reported as not destroyed.
    EXPECT_TRUE(FileExists(tree + "file-link.txt"));
    EXPECT_TRUE(FileExists(tree + "folder-link"));
    EXPECT_EQ(informed, std::vector<std::string>{SurvivorsMessage(2)});
    EXPECT_TRUE(Lines().empty());
}

// The shrinking list alone made a run with survivors look complete: the
// user is told how many files could not be destroyed.
TEST_F(Shredder, FilesThatSurviveAreCountedWhenTheRunEnds) {
    ASSERT_TRUE(WriteTextFile(folder / "locked.doc", "in use"));
    ASSERT_TRUE(WriteTextFile(folder / "free.doc", "free"));
    ASSERT_TRUE(MakeDirectories(folder / "dir"));
    ASSERT_TRUE(WriteTextFile(folder / "dir\\held.doc", "in use"));
    ASSERT_TRUE(WriteTextFile(folder / "dir\\loose.doc", "loose"));
    KernelHandle holders[] = {
        KernelHandle(::CreateFileA((folder / "locked.doc").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)),
        KernelHandle(::CreateFileA((folder / "dir\\held.doc").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                   nullptr)),
    };
    for (const KernelHandle& holder : holders) ASSERT_TRUE(holder);
    pickedFiles = {folder / "locked.doc", folder / "free.doc"};
    shredder->AddFileBTNClick();
    AddDirectory(folder / "dir");
    Shred();
    EXPECT_EQ(informed, std::vector<std::string>{SurvivorsMessage(2)});
    EXPECT_EQ(informed[0].rfind("2 file(s) could not be destroyed.", 0), 0u);
    EXPECT_FALSE(FileExists(folder / "free.doc"));
    EXPECT_FALSE(FileExists(folder / "dir\\loose.doc"));
    // A run in which everything went says nothing.
    informed.clear();
    for (KernelHandle& holder : holders) holder.reset();
    pickedFiles = {folder / "locked.doc"};
    shredder->AddFileBTNClick();
    Shred();
    EXPECT_TRUE(informed.empty());
}

}  // namespace
}  // namespace tarnwell::testing
