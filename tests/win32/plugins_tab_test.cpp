// The Plugins tab end to end: definitions written into the "plugins"
// folder beside a copy of the program, its rows read, checked and
// double-clicked from outside, and what the entries name looked at on disk
// and in the registry afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "app/control_table.h"
#include "tests/win32/support/item_details.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/registry_values.h"
#include "tests/win32/support/tab_fixture.h"

namespace tarnwell::testing {
namespace {

constexpr const char* kTestKey = "Software\\Tarnwell Tests\\Plugins";

bool RegistryValueExists(HKEY root, const std::string& key, const std::string& value) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    const bool found = ::RegQueryValueExA(handle, value.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    ::RegCloseKey(handle);
    return found;
}

bool RegistryKeyExists(HKEY root, const std::string& key) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    ::RegCloseKey(handle);
    return true;
}

[[nodiscard]] bool SetDword(HKEY root, const std::string& key, const std::string& value, DWORD data) {
    HKEY handle = nullptr;
    if (::RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    const bool set = ::RegSetValueExA(handle, value.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                                      sizeof data) == ERROR_SUCCESS;
    ::RegCloseKey(handle);
    return set;
}

class PluginsTab : public TabTest {
protected:
    std::string Plugins() const { return folder / "plugins\\"; }
    // The test folder as an item's details name the folder of a file in it.
    std::string FolderWithoutSlash() const { return folder.Path().substr(0, folder.Path().size() - 1); }
    void Define(const std::string& name, const std::string& text) {
        ASSERT_TRUE(MakeDirectories(Plugins()));
        ASSERT_TRUE(WriteTextFile(Plugins() + name, text));
    }
    static std::string DirectoryEntry(const std::string& section, const std::string& directory) {
        return "[" + section + "]\r\nType=Directory\r\nDirectory=" + directory + "\r\n";
    }
    static std::string FileEntry(const std::string& section, const std::string& file) {
        return "[" + section + "]\r\nType=File\r\nFile=" + file + "\r\n";
    }

    HWND Names() const { return program->Control(ctl::CBList); }
    HWND Risks() const { return program->Control(ctl::PlugStatusBox); }
    HWND BusyMarks() const { return program->Control(ctl::PlugTagBox); }
    int Row(const std::string& name) const {
        const std::vector<std::string> names = ListBoxItems(Names());
        const auto found = std::find(names.begin(), names.end(), name);
        return found == names.end() ? -1 : static_cast<int>(found - names.begin());
    }
    std::string Risk(const std::string& name) const {
        const int row = Row(name);
        const std::vector<std::string> risks = ListBoxItems(Risks());
        return row < 0 || row >= static_cast<int>(risks.size()) ? "(no row)" : risks[static_cast<size_t>(row)];
    }
    std::string BusyMark(const std::string& name) const {
        const std::vector<std::string> marks = ListBoxItems(BusyMarks());
        const int row = Row(name);
        return row < 0 || row >= static_cast<int>(marks.size()) ? "(no row)" : marks[static_cast<size_t>(row)];
    }
    LRESULT Flags(int row) const { return ::SendMessageA(Names(), LB_GETITEMDATA, static_cast<WPARAM>(row), 0); }
    bool RowChecked(const std::string& name) const { return (Flags(Row(name)) & 1) != 0; }
    bool RowEnabled(const std::string& name) const { return (Flags(Row(name)) & 2) == 0; }

    // Where a click on a visible row lands: `x` from the list's left edge,
    // or from its right edge when negative.
    LPARAM PointOn(int row, int x) const {
        RECT client;
        ::GetClientRect(Names(), &client);
        const int height = static_cast<int>(::SendMessageA(Names(), LB_GETITEMHEIGHT, 0, 0));
        const int top = static_cast<int>(::SendMessageA(Names(), LB_GETTOPINDEX, 0, 0));
        const int left = x >= 0 ? x : client.right + x;
        return MAKELPARAM(left, (row - top) * height + height / 2);
    }
    // A click on the row's check box, which sits at the right.
    void ClickCheckBox(const std::string& name) const {
        const LPARAM point = PointOn(Row(name), -8);
        ::PostMessageA(Names(), WM_LBUTTONDOWN, MK_LBUTTON, point);
        ::PostMessageA(Names(), WM_LBUTTONUP, 0, point);
        ASSERT_TRUE(program->WaitUntilPostedMessagesHandled());
    }
    void DoubleClickName(const std::string& name) const {
        const LPARAM point = PointOn(Row(name), 10);
        ::PostMessageA(Names(), WM_LBUTTONDOWN, MK_LBUTTON, point);
        ::PostMessageA(Names(), WM_LBUTTONUP, 0, point);
        ::PostMessageA(Names(), WM_LBUTTONDBLCLK, MK_LBUTTON, point);
        ::PostMessageA(Names(), WM_LBUTTONUP, 0, point);
        ASSERT_TRUE(program->WaitUntilPostedMessagesHandled());
    }
};

// One definition of each kind the folder may hold: only ".ini" names are
// rows, a lower-case type is no entry, a missing key is still "detected",
// and a file entry counts the file's bytes.
TEST_F(PluginsTab, ListsDotIniDefinitionsAndAnalyzesEachEntryKind) {
    ASSERT_TRUE(WriteTextFile(folder / "sized.txt", std::string(42, 's')));
    Define("sized.ini", FileEntry("Log", folder / "sized.txt"));
    Define("upper.INI", FileEntry("Log", folder / "sized.txt"));
    Define("lower type.ini", "[Cache]\r\nType=directory\r\nDirectory=" + folder.Path() + "\r\n");
    Define("missing key.ini", "[Recent]\r\nType=Registry Key\r\nRoot=HKCU\r\nKey=Software\\Tarnwell Tests\\None\r\n");
    Define("missing folder.ini", DirectoryEntry("Cache", folder / "not there"));
    Start("[Settings]\r\n");

    std::vector<std::string> names = ListBoxItems(Names());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"lower type.ini", "missing folder.ini", "missing key.ini", "sized.ini"}));
    EXPECT_EQ(ListBoxItems(Risks()), std::vector<std::string>(4, "Risk: Unknown"));
    EXPECT_EQ(ListBoxItems(BusyMarks()), std::vector<std::string>(4, "0"));
    for (const std::string& name : names) EXPECT_FALSE(RowChecked(name)) << name;

    ASSERT_TRUE(ClickAndWait(ctl::PIAnalyzeBTN));
    EXPECT_EQ(Risk("sized.ini"), "Risk: 42 byte(s)");
    EXPECT_EQ(Risk("lower type.ini"), "Risk: Unknown");
    EXPECT_EQ(Risk("missing key.ini"), "Risk: Item(s) detected.");
    EXPECT_EQ(Risk("missing folder.ini"), "Risk: Not Found.");
    EXPECT_EQ(ListBoxItems(BusyMarks()), std::vector<std::string>(4, "0"));
    EXPECT_TRUE(FileExists(folder / "sized.txt"));
}

// Only checked rows are swept; a registry key loses its values (any Root
// but "HKLM" is the current user's) and keeps its subkeys; a value entry
// takes its one value.
TEST_F(PluginsTab, SweepsCheckedDefinitionsOnly) {
    RegistryKeys keys;
    keys.Save(HKEY_CURRENT_USER, kTestKey);
    const std::string recent = std::string(kTestKey) + "\\Recent", settings = std::string(kTestKey) + "\\Settings";
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, recent, "File1", "C:\\secret.txt"));
    ASSERT_TRUE(SetDword(HKEY_CURRENT_USER, recent, "Count", 1));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, recent + "\\Sub", "Kept", "yes"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, settings, "LastFile", "C:\\secret.txt"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, settings, "Colour", "blue"));
    ASSERT_TRUE(WriteTextFile(folder / "log.txt", std::string(10, 'l')));
    ASSERT_TRUE(WriteTextFile(folder / "spared.txt", "spared"));
    Define("registry.ini", "[Recent]\r\nType=Registry Key\r\nRoot=Current User\r\nKey=" + recent +
                               "\r\n[Last]\r\nType=Registry Value\r\nKey=" + settings + "\r\nValue=LastFile\r\n" +
                               FileEntry("Log", folder / "log.txt"));
    Define("unchecked.ini", FileEntry("Log", folder / "spared.txt"));
    Start("[Settings]\r\n");

    // With no row checked, Sweep does nothing at all.
    Click(ctl::PISweepBTN);
    ASSERT_TRUE(program->WaitUntilPostedMessagesHandled());
    EXPECT_EQ(Risk("registry.ini"), "Risk: Unknown");
    EXPECT_TRUE(program->Enabled(ctl::PIAnalyzeBTN));
    EXPECT_TRUE(program->Enabled(ctl::PISweepBTN));
    EXPECT_TRUE(RegistryValueExists(HKEY_CURRENT_USER, recent, "File1"));

    ClickCheckBox("registry.ini");
    ASSERT_TRUE(RowChecked("registry.ini"));
    EXPECT_FALSE(RowChecked("unchecked.ini"));
    ASSERT_TRUE(ClickAndWait(ctl::PISweepBTN));
    EXPECT_EQ(Risk("registry.ini"), "Risk: 10 byte(s) deleted.");  // the entry that ended last
    EXPECT_EQ(Risk("unchecked.ini"), "Risk: Unknown");
    EXPECT_FALSE(RegistryValueExists(HKEY_CURRENT_USER, recent, "File1"));
    EXPECT_FALSE(RegistryValueExists(HKEY_CURRENT_USER, recent, "Count"));
    EXPECT_TRUE(RegistryValueExists(HKEY_CURRENT_USER, recent + "\\Sub", "Kept"));
    EXPECT_FALSE(RegistryValueExists(HKEY_CURRENT_USER, settings, "LastFile"));
    EXPECT_TRUE(RegistryValueExists(HKEY_CURRENT_USER, settings, "Colour"));
    EXPECT_FALSE(FileExists(folder / "log.txt"));
    EXPECT_TRUE(FileExists(folder / "spared.txt"));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, recent));

    // A double click on the row's risk text opens its details, which name
    // the registry values and the file its entries counted.
    HWND details = OpenItemDetailsFromList(*program, ctl::PlugStatusBox, Row("registry.ini"));
    ASSERT_TRUE(details);
    const ItemDetailsView view = ReadItemDetails(details);
    EXPECT_EQ(view.caption, "Plug-in registry.ini");
    EXPECT_EQ(view.run.substr(view.run.size() - 21), ": 10 byte(s) deleted.");
    std::vector<std::string> listed = view.listed;
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{"Count\tHKCU\\" + recent + "\t(registry value)",
                                                "File1\tHKCU\\" + recent + "\t(registry value)",
                                                "LastFile\tHKCU\\" + settings + "\t(registry value)",
                                                "log.txt\t" + FolderWithoutSlash() + "\t10"}));
    EXPECT_TRUE(CloseItemDetails(details));
}

// A file another program holds open survives its File entry's sweep: the
// row reads as an analysis, and its details say what is still there and why.
TEST_F(PluginsTab, AFileHeldOpenIsNotCalledDeleted) {
    ASSERT_TRUE(WriteTextFile(folder / "held.txt", "held"));
    HANDLE holder = ::CreateFileA((folder / "held.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    Define("held.ini", FileEntry("Log", folder / "held.txt"));
    Start("[Settings]\r\n");
    ClickCheckBox("held.ini");
    ASSERT_TRUE(ClickAndWait(ctl::PISweepBTN));
    EXPECT_EQ(Risk("held.ini"), "Risk: 4 byte(s)");
    EXPECT_TRUE(FileExists(folder / "held.txt"));

    HWND details = OpenItemDetailsFromList(*program, ctl::PlugStatusBox, Row("held.ini"));
    ASSERT_TRUE(details);
    const ItemDetailsView view = ReadItemDetails(details);
    EXPECT_EQ(view.listed, (std::vector<std::string>{"held.txt\t" + FolderWithoutSlash() + "\t4"}));
    EXPECT_EQ(view.stillThere,
              (std::vector<std::string>{"held.txt\t" + FolderWithoutSlash() + "\tin use by another program"}));
    EXPECT_TRUE(CloseItemDetails(details));
    ::CloseHandle(holder);
}

// A definition naming the drive, or a folder left empty (the current
// drive's root), is refused before anything runs, and says so; the rest of
// it still runs. A file at the drive's root proves nothing there was touched.
TEST_F(PluginsTab, RefusesDriveRootsAndEmptyFoldersAndRunsTheRest) {
    const std::string sentinel = "C:\\tarnwell-plugin-sentinel.txt";
    ASSERT_TRUE(planted.File(sentinel, "keep me"));
    ASSERT_TRUE(WriteTextFile(folder / "log.txt", std::string(7, 'l')));
    Define("drive.ini", DirectoryEntry("Everything", "%DRIVE%\\") + FileEntry("Log", folder / "log.txt"));
    Define("empty.ini", DirectoryEntry("Nothing", ""));
    Define("relative.ini", DirectoryEntry("Here", "Temp\\Cache"));
    Define("windows.ini", DirectoryEntry("System", "%DRIVE%\\windows\\system32\\.."));
    Start("[Settings]\r\nPAllCB_Checked=True\r\n");

    ASSERT_TRUE(ClickAndWait(ctl::PIAnalyzeBTN));
    EXPECT_EQ(Risk("drive.ini"), "Risk: Refused: a whole drive");
    EXPECT_EQ(Risk("empty.ini"), "Risk: Refused: no folder given");
    EXPECT_EQ(Risk("relative.ini"), "Risk: Refused: not a full path");
    EXPECT_EQ(Risk("windows.ini"), "Risk: Refused: the Windows folder");
    ASSERT_TRUE(ClickAndWait(ctl::PISweepBTN));
    EXPECT_EQ(Risk("drive.ini"), "Risk: Refused: a whole drive");
    EXPECT_FALSE(FileExists(folder / "log.txt"));
    EXPECT_TRUE(FileExists(sentinel));
    EXPECT_TRUE(FileExists(folder / "settings.ini"));
}

// "%DRIVE%" is the drive of the profile folder, wherever that lies: here
// a profile on the fixtures drive F: that the runner maps to a folder of
// the test's own. The folder stays, with nothing in it.
TEST_F(PluginsTab, DriveMacroFollowsTheProfileAndTheFolderStaysEmpty) {
    const std::string profile = "F:\\tarnwell-plugins-" + std::to_string(::GetCurrentProcessId()) + "\\profile";
    ASSERT_TRUE(planted.File(profile + "\\Cache\\a.tmp", "a"));
    ASSERT_TRUE(planted.File(profile + "\\Cache\\sub\\b.tmp", "b"));
    Define("profile cache.ini", DirectoryEntry("Cache", "%drive%" + profile.substr(2) + "\\Cache"));
    Start("[Settings]\r\nPAllCB_Checked=True\r\n", {"USERPROFILE=" + profile});

    ASSERT_TRUE(ClickAndWait(ctl::PIAnalyzeBTN));
    EXPECT_EQ(Risk("profile cache.ini"), "Risk: 3 file(s)");  // two files and a folder
    ASSERT_TRUE(ClickAndWait(ctl::PISweepBTN));
    EXPECT_EQ(Risk("profile cache.ini"), "Risk: 3 file(s) deleted.");
    EXPECT_EQ(EntriesBelow(profile + "\\Cache"), 0);
    const DWORD attributes = ::GetFileAttributesA((profile + "\\Cache").c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
}

// A definition whose file entry ends at once and whose folder walk runs
// on: the row, and the tab's buttons, stay busy until the walk has ended
// too. (Which of two walks ends first is up to the threads' scheduling, so
// the entry that ends first is one that ends before the walk can.)
TEST_F(PluginsTab, ARowStaysBusyUntilEveryEntryHasEnded) {
    ASSERT_TRUE(WriteTextFile(folder / "log.txt", std::string(7, 'l')));
    ASSERT_TRUE(MakeDirectories(folder / "large"));
    constexpr int kLarge = 400;
    for (int i = 0; i < kLarge; ++i)
        ASSERT_TRUE(WriteTextFile(folder / ("large\\" + std::to_string(i) + ".tmp"), std::string(4096, 'x')));
    Define("two.ini", FileEntry("Log", folder / "log.txt") + DirectoryEntry("Large", folder / "large"));
    Start("[Settings]\r\nPAllCB_Checked=True\r\n");

    bool sawFirstEndWhileBusy = false;
    Click(ctl::PISweepBTN);
    ASSERT_TRUE(WaitUntil(
        [&] {
            // The state is read before the files: once the row is idle, the
            // walk must have removed everything it found.
            const bool idle = program->Enabled(ctl::PIAnalyzeBTN);
            const std::string mark = BusyMark("two.ini");
            const std::string risk = Risk("two.ini");
            if (idle || mark == "0") {
                EXPECT_EQ(EntriesBelow(folder / "large"), 0) << "idle while the walk still ran";
                return true;
            }
            if (risk == "Risk: 7 byte(s) deleted." && mark == "1") sawFirstEndWhileBusy = true;
            return false;
        },
        120000));
    EXPECT_TRUE(sawFirstEndWhileBusy) << "the file entry's end was never seen while the walk ran";
    EXPECT_EQ(Risk("two.ini"), "Risk: " + std::to_string(kLarge) + " file(s) deleted.");
    EXPECT_EQ(BusyMark("two.ini"), "0");
    EXPECT_FALSE(FileExists(folder / "log.txt"));
}

// "Sweep them all!" checks and locks every row, and frees them again; a
// row's box also toggles with the space bar.
TEST_F(PluginsTab, SweepThemAllChecksAndLocksEveryRow) {
    Define("a.ini", DirectoryEntry("A", folder / "a"));
    Define("b.ini", DirectoryEntry("B", folder / "b"));
    Start("[Settings]\r\nPAllCB_Checked=True\r\n");
    for (const char* name : {"a.ini", "b.ini"}) {
        EXPECT_TRUE(RowChecked(name)) << name;
        EXPECT_FALSE(RowEnabled(name)) << name;
    }
    ClickCheckBox("a.ini");  // a locked row does not toggle
    EXPECT_TRUE(RowChecked("a.ini"));

    Click(ctl::PAllCB);
    for (const char* name : {"a.ini", "b.ini"}) {
        EXPECT_FALSE(RowChecked(name)) << name;
        EXPECT_TRUE(RowEnabled(name)) << name;
    }
    ::PostMessageA(Names(), WM_KEYDOWN, VK_HOME, 0);
    ::PostMessageA(Names(), WM_CHAR, ' ', 0);
    ASSERT_TRUE(program->WaitUntilPostedMessagesHandled());
    EXPECT_TRUE(::SendMessageA(Names(), LB_GETCURSEL, 0, 0) == 0);
    EXPECT_TRUE((Flags(0) & 1) != 0);
    // The row's check marks are never stored.
    program->EndSession();
    ASSERT_TRUE(program->WaitForExit());
    const std::string saved = ReadTextFile(folder / "settings.ini");
    EXPECT_NE(saved.find("PAllCB_Checked=False"), std::string::npos);
    EXPECT_EQ(saved.find("CBList"), std::string::npos);
}

// The two lists select and scroll together, whichever one the user moves.
TEST_F(PluginsTab, TheTwoListsSelectAndScrollTogether) {
    for (int i = 0; i < 30; ++i) Define("p" + std::to_string(100 + i) + ".ini", FileEntry("F", folder / "none"));
    Start("[Settings]\r\n");
    // The first key selects the row with the focus, as in any list.
    ::PostMessageA(Names(), WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageA(Names(), WM_KEYDOWN, VK_END, 0);
    ASSERT_TRUE(program->WaitUntilPostedMessagesHandled());
    EXPECT_EQ(::SendMessageA(Names(), LB_GETCURSEL, 0, 0), 29);
    EXPECT_EQ(::SendMessageA(Risks(), LB_GETCURSEL, 0, 0), 29);
    const LRESULT top = ::SendMessageA(Names(), LB_GETTOPINDEX, 0, 0);
    EXPECT_GT(top, 0);
    EXPECT_EQ(::SendMessageA(Risks(), LB_GETTOPINDEX, 0, 0), top);

    ::PostMessageA(Risks(), WM_KEYDOWN, VK_HOME, 0);
    ASSERT_TRUE(program->WaitUntilPostedMessagesHandled());
    EXPECT_EQ(::SendMessageA(Names(), LB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(::SendMessageA(Names(), LB_GETTOPINDEX, 0, 0), 0);
}

// Sweep All sweeps the checked definitions only while its box says so.
TEST_F(PluginsTab, SweepAllSweepsPluginsOnlyWhenAsked) {
    ASSERT_TRUE(WriteTextFile(folder / "log.txt", "log"));
    Define("log.ini", FileEntry("Log", folder / "log.txt"));
    Start("[Settings]\r\nPlugCB_Checked=False\r\nPAllCB_Checked=True\r\n");
    ASSERT_TRUE(ClickAndWait(ctl::SweepAllBTN));
    EXPECT_TRUE(FileExists(folder / "log.txt"));
    EXPECT_EQ(Risk("log.ini"), "Risk: Unknown");

    Click(ctl::PlugCB);
    ASSERT_TRUE(ClickAndWait(ctl::SweepAllBTN));
    ASSERT_TRUE(WaitUntilIdle(ctl::PIAnalyzeBTN));
    EXPECT_FALSE(FileExists(folder / "log.txt"));
    EXPECT_EQ(Risk("log.ini"), "Risk: 3 byte(s) deleted.");
}

// A folder entry walks a tree holding links to a file and a folder
// outside it: what the links lead to is never destroyed, the tree's own
// files are, and the folder named stays.
TEST_F(PluginsTab, LinksInsideAFolderEntryAreNeverFollowed) {
    const std::string tree = "C:\\tw-links\\tree11", outside = "C:\\tw-links\\outside11\\";
    Define("links.ini", DirectoryEntry("Tree", tree));
    Start("[Settings]\r\nPAllCB_Checked=True\r\n");
    ASSERT_TRUE(ClickAndWait(ctl::PISweepBTN));
    EXPECT_FALSE(FileExists(tree + "\\plain.txt"));
    EXPECT_FALSE(FileExists(tree + "\\sub\\deep.txt"));
    EXPECT_EQ(ReadTextFile(outside + "secret.txt"), "sentinel file 11");
    EXPECT_EQ(ReadTextFile(outside + "folder\\inner.txt"), "sentinel in folder 11");
    const DWORD attributes = ::GetFileAttributesA(tree.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
}

struct NotepadSearch {
    std::string title;
    HWND window = nullptr;
};

BOOL CALLBACK FindNotepad(HWND window, LPARAM search) {
    auto* wanted = reinterpret_cast<NotepadSearch*>(search);
    if (!::IsWindowVisible(window)) return TRUE;
    if (WindowText(window).find(wanted->title) == std::string::npos) return TRUE;
    wanted->window = window;
    return FALSE;
}

// A double click opens the definition in Notepad, started by the shell.
TEST_F(PluginsTab, DoubleClickOpensTheDefinitionInNotepad) {
    Define("open me.ini", FileEntry("Log", folder / "none"));
    Start("[Settings]\r\n");
    DoubleClickName("open me.ini");
    NotepadSearch search{"open me.ini"};
    ASSERT_TRUE(WaitUntil([&] {
        ::EnumWindows(FindNotepad, reinterpret_cast<LPARAM>(&search));
        return search.window != nullptr;
    }));
    DWORD notepadId = 0;
    ::GetWindowThreadProcessId(search.window, &notepadId);
    EXPECT_NE(notepadId, program->ProcessId());
    if (HANDLE notepad = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, notepadId)) {
        ::TerminateProcess(notepad, 0);
        ::WaitForSingleObject(notepad, 10000);
        ::CloseHandle(notepad);
    }
}

}  // namespace
}  // namespace tarnwell::testing
