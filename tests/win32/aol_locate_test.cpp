// The locate dialog, shown modally by this thread the way the main window
// shows it, and driven from a second thread through window messages as a
// user would: what its search lists and selects, Save, Cancel, the close
// box and the keys, a search that is cancelled while it runs, and the
// folder the search starts from.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/control_table.h"
#include "app/known_locations.h"
#include "categories/aol_locate.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/registry_values.h"
#include "tests/win32/support/tarnwell_process.h"
#include "tests/win32/support/top_level_window.h"

namespace tarnwell::testing {
namespace {

constexpr const char* kFinding = "Finding potential directories...";

// Every text the dialog's found label is given, in order, seen on the
// dialog's own thread before the label takes it.
class LabelLog {
public:
    LabelLog() {
        ::InitializeCriticalSection(&lock_);
        instance_ = this;
        hook_ = ::SetWindowsHookExA(WH_CALLWNDPROC, Record, nullptr, ::GetCurrentThreadId());
    }
    ~LabelLog() {
        ::UnhookWindowsHookEx(hook_);
        instance_ = nullptr;
        ::DeleteCriticalSection(&lock_);
    }
    LabelLog(const LabelLog&) = delete;
    LabelLog& operator=(const LabelLog&) = delete;

    std::vector<std::string> Texts() {
        ::EnterCriticalSection(&lock_);
        std::vector<std::string> copy = texts_;
        ::LeaveCriticalSection(&lock_);
        return copy;
    }

private:
    static LRESULT CALLBACK Record(int code, WPARAM wParam, LPARAM lParam) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && instance_ && call->message == WM_SETTEXT && call->lParam &&
            ::GetDlgCtrlID(call->hwnd) == ctl::FoundLabel) {
            ::EnterCriticalSection(&instance_->lock_);
            instance_->texts_.emplace_back(reinterpret_cast<const char*>(call->lParam));
            ::LeaveCriticalSection(&instance_->lock_);
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline LabelLog* instance_ = nullptr;
    CRITICAL_SECTION lock_;
    HHOOK hook_ = nullptr;
    std::vector<std::string> texts_;
};

// The open dialog, seen from the driving thread.
class Dialog {
public:
    Dialog(HWND hwnd, LabelLog& log) : hwnd_(hwnd), log_(log) {}

    HWND Handle() const { return hwnd_; }
    HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }
    std::string Text(int id) const { return WindowText(Item(id)); }
    std::vector<std::string> Folders() const { return ListBoxItems(Item(ctl::PathBox)); }
    int Selected() const {
        DWORD_PTR selected = 0;
        ::SendMessageTimeoutA(Item(ctl::PathBox), LB_GETCURSEL, 0, 0, SMTO_NORMAL, 5000, &selected);
        return static_cast<int>(static_cast<LRESULT>(selected));
    }
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
    bool Visible(int id) const { return ::IsWindowVisible(Item(id)) != FALSE; }
    // Posted, as a click reaches a busy dialog: it is handled when the
    // dialog's thread next looks at its queue.
    void Click(int id) const { ::PostMessageA(Item(id), BM_CLICK, 0, 0); }
    void Key(WPARAM key) const { ::PostMessageA(hwnd_, WM_KEYDOWN, key, 0); }
    // The label went through "Finding..." to its count, and both buttons
    // are back.
    [[nodiscard]] bool WaitForSearchEnd(DWORD milliseconds = 60000) const {
        return WaitUntil(
            [&] {
                const auto texts = log_.Texts();
                return texts.size() >= 2 && texts[texts.size() - 2] == kFinding &&
                       texts.back().find(" directories found.") != std::string::npos && Enabled(ctl::SearchBTN) &&
                       Enabled(ctl::SaveBTN);
            },
            milliseconds);
    }
    std::vector<std::string> LabelTexts() const { return log_.Texts(); }
    std::string LastLabel() const {
        const auto texts = log_.Texts();
        return texts.empty() ? std::string() : texts.back();
    }

private:
    HWND hwnd_;
    LabelLog& log_;
};

// Runs `script` on a thread of its own once the dialog shows; whatever
// the script does, the dialog is closed at the end so that the call
// returns.
struct Driver {
    std::function<void(Dialog&)> script;
    LabelLog* log = nullptr;
    DWORD closedAt = 0;  // tick of the script's last action

    static DWORD WINAPI Run(void* self) {
        auto& driver = *static_cast<Driver*>(self);
        HWND hwnd = nullptr;
        const bool shown = WaitUntil([&] {
            hwnd = ::FindWindowA("TFindForm", "Tarnwell Locate Directory");
            return hwnd && ::IsWindowVisible(hwnd);
        });
        if (!shown) return 1;
        Dialog dialog(hwnd, *driver.log);
        driver.script(dialog);
        driver.closedAt = ::GetTickCount();
        if (!WaitUntil([&] { return !::IsWindow(hwnd) || !::IsWindowVisible(hwnd); }, 10000))
            ::PostMessageA(hwnd, WM_CLOSE, 0, 0);
        return 0;
    }
};

struct Outcome {
    std::optional<std::string> saved;
    DWORD closedAt = 0;
    DWORD returnedAt = 0;
};

// Shows the dialog on `root` over a hidden owner, as the main window does.
Outcome RunDialog(const std::string& root, const std::function<void(Dialog&)>& script,
               const std::string& pattern = "*organize*") {
    TopLevelWindow owner("LocateTestOwner", "Locate test owner", false);
    LabelLog log;
    Driver driver{script, &log};
    DWORD threadId = 0;
    HANDLE thread = ::CreateThread(nullptr, 0, Driver::Run, &driver, 0, &threadId);
    Outcome outcome;
    outcome.saved = LocateDirectory(owner.Handle(), static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)), root,
                                    pattern);
    outcome.returnedAt = ::GetTickCount();
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
    outcome.closedAt = driver.closedAt;
    return outcome;
}

class Locate : public ::testing::Test {
protected:
    // The folders of the usual tree: one match beside the root's other
    // folder, and below that a match that holds a match.
    void PlantTree() {
        for (const char* path : {"Organize Old", "Programs\\AOL 9.0\\organize\\organize", "Programs\\Other"})
            ASSERT_TRUE(MakeDirectories(folder / path)) << path;
        ASSERT_TRUE(WriteTextFile(folder / "readme organize.txt", "a file, not a folder"));
    }
    std::vector<std::string> ExpectedTree() const {
        return {folder / "Organize Old", folder / "Programs\\AOL 9.0\\organize",
                folder / "Programs\\AOL 9.0\\organize\\organize"};
    }
    std::string Root() const { return folder.Path().substr(0, folder.Path().size() - 1); }

    TempFolder folder;
};

TEST_F(Locate, ShowsItsControlsAndListsNestedMatchesDepthFirstWithTheLastSelected) {
    PlantTree();
    std::vector<std::string> folders, labels;
    std::string caption, path, name, rootLabel, selectLabel, search, cancel, save;
    int selected = -2;
    bool nameHidden = false;
    const Outcome outcome = RunDialog(Root(), [&](Dialog& dialog) {
        if (!dialog.WaitForSearchEnd()) return;
        char text[128] = {};
        ::GetWindowTextA(dialog.Handle(), text, sizeof text);
        caption = text;
        folders = dialog.Folders();
        selected = dialog.Selected();
        labels = dialog.LabelTexts();
        path = dialog.Text(ctl::PathEdit);
        name = dialog.Text(ctl::NameEdit);
        nameHidden = !dialog.Visible(ctl::NameEdit);
        rootLabel = dialog.Text(ctl::RootLBL);
        selectLabel = dialog.Text(ctl::SelectLBL);
        search = dialog.Text(ctl::SearchBTN);
        cancel = dialog.Text(ctl::FindCloseBTN);
        save = dialog.Text(ctl::SaveBTN);
        dialog.Click(ctl::FindCloseBTN);
    });
    EXPECT_EQ(caption, "Tarnwell Locate Directory");
    EXPECT_EQ(folders, ExpectedTree());
    EXPECT_EQ(selected, 2);
    EXPECT_EQ(labels, (std::vector<std::string>{kFinding, "3 directories found."}));
    EXPECT_EQ(path, Root());
    EXPECT_EQ(name, "*organize*");
    EXPECT_TRUE(nameHidden);
    EXPECT_EQ(rootLabel, "Root directory to start searching from:");
    EXPECT_EQ(selectLabel, "Select the appropriate\r\ndirectory and click Save.");
    EXPECT_EQ(search, "&Search");
    EXPECT_EQ(cancel, "&Cancel");
    EXPECT_EQ(save, "Sa&ve");
    EXPECT_FALSE(outcome.saved);
}

TEST_F(Locate, SaveAnswersTheSelectedFolderWithATrailingBackslash) {
    PlantTree();
    const Outcome outcome = RunDialog(Root(), [&](Dialog& dialog) {
        if (dialog.WaitForSearchEnd()) dialog.Click(ctl::SaveBTN);
    });
    EXPECT_EQ(outcome.saved, folder / "Programs\\AOL 9.0\\organize\\organize\\");
}

TEST_F(Locate, SaveAnswersAnotherEntryTheUserSelected) {
    PlantTree();
    const Outcome outcome = RunDialog(folder.Path(), [&](Dialog& dialog) {
        if (!dialog.WaitForSearchEnd()) return;
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(dialog.Item(ctl::PathBox), LB_SETCURSEL, 0, 0, SMTO_NORMAL, 5000, &result);
        dialog.Click(ctl::SaveBTN);
    });
    // A root given with its backslash is not given a second one.
    EXPECT_EQ(outcome.saved, folder / "Organize Old\\");
}

TEST_F(Locate, EnterSavesAsTheDefaultButton) {
    PlantTree();
    const Outcome outcome = RunDialog(Root(), [&](Dialog& dialog) {
        if (dialog.WaitForSearchEnd()) dialog.Key(VK_RETURN);
    });
    EXPECT_EQ(outcome.saved, folder / "Programs\\AOL 9.0\\organize\\organize\\");
}

TEST_F(Locate, CancelTheCloseBoxAndEscAnswerNothing) {
    PlantTree();
    for (const auto& close : std::vector<std::function<void(Dialog&)>>{
             [](Dialog& dialog) { dialog.Click(ctl::FindCloseBTN); },
             [](Dialog& dialog) { ::PostMessageA(dialog.Handle(), WM_CLOSE, 0, 0); },
             [](Dialog& dialog) { dialog.Key(VK_ESCAPE); }}) {
        bool ended = false;
        const Outcome outcome = RunDialog(Root(), [&](Dialog& dialog) {
            ended = dialog.WaitForSearchEnd();
            close(dialog);
        });
        EXPECT_TRUE(ended);
        EXPECT_FALSE(outcome.saved);
        EXPECT_LT(outcome.returnedAt - outcome.closedAt, 5000u);
    }
}

TEST_F(Locate, SearchAgainListsTheNewRootAndCountsNothingForAMissingOne) {
    PlantTree();
    std::vector<std::string> first, second;
    std::vector<std::string> labels;
    bool focusOnList = false;
    const Outcome outcome = RunDialog(Root(), [&](Dialog& dialog) {
        if (!dialog.WaitForSearchEnd()) return;
        first = dialog.Folders();
        const std::string missing = folder / "no such folder";
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(dialog.Item(ctl::PathEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(missing.c_str()),
                              SMTO_NORMAL, 5000, &result);
        dialog.Click(ctl::SearchBTN);
        if (!WaitUntil([&] { return dialog.LabelTexts().size() >= 4; }) || !dialog.WaitForSearchEnd()) return;
        second = dialog.Folders();
        labels = dialog.LabelTexts();
        // The clicked Search button was disabled while it had the focus.
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog.Handle(), nullptr), &thread);
        focusOnList = thread.hwndFocus == dialog.Item(ctl::PathBox);
        dialog.Click(ctl::SaveBTN);
    });
    EXPECT_EQ(first, ExpectedTree());
    EXPECT_TRUE(second.empty());
    EXPECT_TRUE(focusOnList) << "the focus was lost with the disabled Search button";
    EXPECT_EQ(labels, (std::vector<std::string>{kFinding, "3 directories found.", kFinding, "0 directories found."}));
    // Nothing selected: Save closes without a folder.
    EXPECT_FALSE(outcome.saved);
}

TEST_F(Locate, AMissingRootFindsNothing) {
    std::vector<std::string> labels, folders{"not read"};
    RunDialog(folder / "missing", [&](Dialog& dialog) {
        if (!dialog.WaitForSearchEnd()) return;
        labels = dialog.LabelTexts();
        folders = dialog.Folders();
        dialog.Click(ctl::FindCloseBTN);
    });
    EXPECT_EQ(labels, (std::vector<std::string>{kFinding, "0 directories found."}));
    EXPECT_TRUE(folders.empty());
}

// A long search: the dialog answers while it runs, Save and Search are
// off, and Cancel stops the search at once. (Hiding a window under Wine
// without a window manager waits up to two seconds for the X server, so
// the call itself is given longer to return.)
TEST_F(Locate, ALongSearchStaysResponsiveAndCancelStopsIt) {
    constexpr int kBranches = 40, kLeaves = 40;  // 1,640 folders, each a match
    for (int b = 0; b < kBranches; ++b)
        for (int l = 0; l < kLeaves; ++l)
            ASSERT_TRUE(MakeDirectories(folder / ("organize " + std::to_string(b) + "\\organize " +
                                                  std::to_string(l))));
    const int total = kBranches + kBranches * kLeaves;
    bool running = false, saveOff = false, searchOff = false, answered = false, stopped = false;
    DWORD stoppedAfter = 0;
    std::string finalLabel;
    const Outcome outcome = RunDialog(Root(), [&](Dialog& dialog) {
        running = WaitUntil([&] { return dialog.Folders().size() >= 20; });
        saveOff = !dialog.Enabled(ctl::SaveBTN);
        searchOff = !dialog.Enabled(ctl::SearchBTN);
        char text[64] = {};
        DWORD_PTR result = 0;
        answered = ::SendMessageTimeoutA(dialog.Item(ctl::FoundLabel), WM_GETTEXT, sizeof text,
                                         reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 1000, &result) != 0 &&
                   std::string(text) == kFinding;
        const DWORD cancelledAt = ::GetTickCount();
        dialog.Click(ctl::FindCloseBTN);
        stopped = WaitUntil([&] { return dialog.LastLabel() != kFinding; }, 5000);
        stoppedAfter = ::GetTickCount() - cancelledAt;
        finalLabel = dialog.LastLabel();
    });
    EXPECT_TRUE(running);
    EXPECT_TRUE(saveOff);
    EXPECT_TRUE(searchOff);
    EXPECT_TRUE(answered) << "the dialog did not answer while searching";
    ASSERT_TRUE(stopped);
    EXPECT_LT(stoppedAfter, 1000u);
    const int listed = std::atoi(finalLabel.c_str());
    EXPECT_GE(listed, 20) << finalLabel;
    EXPECT_LT(listed, total) << "the search ended before it was cancelled";
    EXPECT_FALSE(outcome.saved);
    EXPECT_LT(outcome.returnedAt - outcome.closedAt, 5000u);
}

// The link fixtures: C:\tw-links\root-linkN is a Unix link to treeN, which
// holds a folder "sub".
TEST_F(Locate, LinksAreListedButNotEntered) {
    const std::string base = "C:\\tw-links\\";
    const DWORD link = ::GetFileAttributesA((base + "root-link1").c_str());
    if (link == INVALID_FILE_ATTRIBUTES || !(link & FILE_ATTRIBUTE_REPARSE_POINT) ||
        !DirectoryExists(base + "root-link1\\sub"))
        GTEST_SKIP() << "the link fixtures are missing";
    std::vector<std::string> folders;
    RunDialog(
        base,
        [&](Dialog& dialog) {
            if (dialog.WaitForSearchEnd()) folders = dialog.Folders();
            dialog.Click(ctl::FindCloseBTN);
        },
        "*sub*");
    EXPECT_NE(std::find(folders.begin(), folders.end(), base + "tree1\\sub"), folders.end());
    for (const std::string& found : folders) EXPECT_EQ(found.find("root-link"), std::string::npos) << found;
}

class LocateStart : public ::testing::Test {
protected:
    static constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Folders";

    void SetUp() override {
        char buffer[MAX_PATH] = {};
        const DWORD length = ::GetEnvironmentVariableA("Common AppData", buffer, MAX_PATH);
        if (length > 0 && length < MAX_PATH) savedVariable_ = std::string(buffer);
    }
    void TearDown() override {
        ::SetEnvironmentVariableA("Common AppData", savedVariable_ ? savedVariable_->c_str() : nullptr);
    }
    void SetRegistryValue(const std::optional<std::string>& folder) {
        values.Set(HKEY_LOCAL_MACHINE, kShellFolders, "Common AppData", folder);
    }
    static void SetVariable(const char* folder) { ::SetEnvironmentVariableA("Common AppData", folder); }

    TempFolder folder;
    RegistryValues values;

private:
    std::optional<std::string> savedVariable_;
};

TEST_F(LocateStart, TakesTheRegistryValueWhenItIsAFolder) {
    ASSERT_TRUE(MakeDirectories(folder / "common"));
    SetRegistryValue(folder / "common");
    SetVariable((folder / "variable").c_str());
    EXPECT_EQ(LocateStartFolder(folder / "profile"), folder / "common");
}

TEST_F(LocateStart, FallsBackToTheVariableThenApplicationDataThenTheDrive) {
    ASSERT_TRUE(MakeDirectories(folder / "variable"));
    ASSERT_TRUE(MakeDirectories(folder / "profile\\Application Data"));
    SetRegistryValue(folder / "missing");
    SetVariable((folder / "variable").c_str());
    EXPECT_EQ(LocateStartFolder(folder / "profile"), folder / "variable");

    SetVariable(nullptr);
    EXPECT_EQ(LocateStartFolder(folder / "profile"), folder / "profile\\Application Data\\");

    SetRegistryValue(std::nullopt);
    EXPECT_EQ(LocateStartFolder(folder / "no profile"), folder.Path().substr(0, 2) + "\\");
    EXPECT_EQ(LocateStartFolder("Q:\\Users\\nobody"), "Q:\\");
}

}  // namespace
}  // namespace tarnwell::testing
