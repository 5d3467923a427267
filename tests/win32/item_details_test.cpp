// An item's details window: what Analyze found, listed with sizes, sorted,
// copied and saved; after a sweep, what is still there and why. Read from
// outside the real program, over files the test plants.
#include <gtest/gtest.h>

#include "app/control_table.h"
#include "engine/registry_cleaner.h"
#include "tests/win32/support/item_details.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/registry_values.h"
#include "tests/win32/support/tab_fixture.h"

namespace tarnwell::testing {
namespace {

// The clipboard's text, as another program pastes it.
std::string ClipboardText() {
    std::string text;
    if (!::OpenClipboard(nullptr)) return text;
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(::GlobalLock(data))) {
            text = bytes;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

class ItemDetails : public TabTest {
protected:
    void SetUp() override {
        temp = folder / "temp";
        ASSERT_TRUE(planted.File(temp + "\\a.tmp", "abc"));
        ASSERT_TRUE(planted.File(temp + "\\B.log", "12345"));
        ASSERT_TRUE(planted.File(temp + "\\nested\\c.tmp", "1234567"));
    }
    void StartWithTemp(const std::string& settings) { Start(settings, {"TEMP=" + temp, "TMP=" + temp}); }

    std::string temp;
};

// Analyze lists exactly what lies in the temporary folder, each file with
// its size; the columns sort both ways; Copy and "Save as..." give the
// same text.
TEST_F(ItemDetails, AnalyzeListsTheTempFolderSortsCopiesAndSaves) {
    StartWithTemp("[Settings]\r\n");
    {
        // Before any run the window says so.
        HWND details = OpenItemDetails(*program, ctl::TempFiles);
        ASSERT_TRUE(details);
        const ItemDetailsView view = ReadItemDetails(details);
        EXPECT_EQ(view.caption, "Windows Temp Folder");
        EXPECT_EQ(view.run, "Not analysed or swept since Tarnwell started.");
        EXPECT_TRUE(view.listed.empty());
        ASSERT_TRUE(CloseItemDetails(details));
    }
    ASSERT_TRUE(ClickAndWait(ctl::WAnalyzeBTN));
    ASSERT_EQ(Label(ctl::TempFiles), "4 file(s)");

    HWND details = OpenItemDetails(*program, ctl::TempFiles);
    ASSERT_TRUE(details);
    ItemDetailsView view = ReadItemDetails(details);
    EXPECT_EQ(view.run.rfind("Analysed ", 0), 0u) << view.run;
    EXPECT_EQ(view.run.substr(view.run.size() - 11), ": 4 file(s)");
    EXPECT_EQ(view.totals, "Found: 4 entries, 15 bytes in files");
    EXPECT_EQ(view.listed, (std::vector<std::string>{"a.tmp\t" + temp + "\t3", "B.log\t" + temp + "\t5",
                                                     "nested\t" + temp + "\t(folder)",
                                                     "c.tmp\t" + temp + "\\nested\t7"}));
    EXPECT_EQ(view.stillHeading, "");

    ClickInDetails(details, ctl::DetailsSizeBTN);
    EXPECT_EQ(ReadItemDetails(details).listed.front(), "nested\t" + temp + "\t(folder)");
    ClickInDetails(details, ctl::DetailsSizeBTN);
    EXPECT_EQ(ReadItemDetails(details).listed.front(), "c.tmp\t" + temp + "\\nested\t7");
    ClickInDetails(details, ctl::DetailsNameBTN);
    EXPECT_EQ(ReadItemDetails(details).listed,
              (std::vector<std::string>{"a.tmp\t" + temp + "\t3", "B.log\t" + temp + "\t5",
                                        "c.tmp\t" + temp + "\\nested\t7", "nested\t" + temp + "\t(folder)"}));

    const std::string expected = "Windows Temp Folder\r\n" + view.run + "\r\n" +
                                 "Found: 4 entries, 15 bytes in files\r\n"
                                 "\r\nName\tFolder\tSize\r\n"
                                 "a.tmp\t" + temp + "\t3\r\n"
                                 "B.log\t" + temp + "\t5\r\n"
                                 "c.tmp\t" + temp + "\\nested\t7\r\n"
                                 "nested\t" + temp + "\tfolder\r\n";
    ClickInDetails(details, ctl::DetailsCopyBTN);
    EXPECT_EQ(ClipboardText(), expected);

    const std::string saved = folder / "details.txt";
    ::PostMessageA(FindChildById(details, ctl::DetailsSaveBTN), BM_CLICK, 0, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = ShownWindowOf(program->ProcessId(), "#32770", "Save As")) != nullptr; }));
    HWND name = ::GetDlgItem(dialog, 0x480);        // edt1
    if (!name) name = ::GetDlgItem(dialog, 0x47c);  // cmb13
    ASSERT_TRUE(name);
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(saved.c_str()), SMTO_NORMAL, 5000, &result);
    ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return ReadTextFile(saved) == expected; })) << ReadTextFile(saved);
    ::DeleteFileA(saved.c_str());
    EXPECT_TRUE(CloseItemDetails(details));
}

// A file another program holds open survives the sweep: the label keeps
// its usual text (what was found), while the receipt counts and names it.
TEST_F(ItemDetails, SweepReceiptNamesWhatIsStillThereAndWhy) {
    const std::string held = temp + "\\held.tmp";
    ASSERT_TRUE(planted.File(held, "held"));
    HANDLE holder = ::CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    StartWithTemp("[Settings]\r\nTempFilesCB_Checked=True\r\n");
    ASSERT_TRUE(ClickAndWait(ctl::WSweepBTN));
    EXPECT_EQ(Label(ctl::TempFiles), "5 file(s) deleted.");
    EXPECT_TRUE(FileExists(held));
    EXPECT_FALSE(FileExists(temp + "\\a.tmp"));

    HWND details = OpenItemDetails(*program, ctl::TempFiles);
    ASSERT_TRUE(details);
    const ItemDetailsView view = ReadItemDetails(details);
    EXPECT_EQ(view.run.rfind("Swept ", 0), 0u) << view.run;
    EXPECT_EQ(view.totals, "Found: 5 entries, 19 bytes in files\r\nReceipt: 3 removed, 1 still there");
    EXPECT_EQ(view.stillHeading, "Still there after the sweep, and why:");
    EXPECT_EQ(view.stillThere, (std::vector<std::string>{"held.tmp\t" + temp + "\tin use by another program"}));
    EXPECT_TRUE(CloseItemDetails(details));
    ::CloseHandle(holder);
}

// An item that keeps no list says what was done instead; its details open
// from the label's context menu as well.
TEST_F(ItemDetails, AnItemWithOnlyATotalSaysSoAndOpensFromTheContextMenu) {
    StartWithTemp("[Settings]\r\n");
    ASSERT_TRUE(ClickAndWait(ctl::IEAnalyzeBTN));
    HWND label = program->Control(ctl::IEIndex);
    RECT bounds;
    ::GetWindowRect(label, &bounds);
    ::PostMessageA(::GetParent(label), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(label),
                   MAKELPARAM(bounds.left + 2, bounds.top + 2));
    // Keys go to the menu's own loop, as the user's arrow keys and Enter.
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (menu = ShownWindowOf(program->ProcessId(), "#32768", "")) != nullptr; }));
    for (WPARAM key : {VK_DOWN, VK_RETURN}) {
        ::PostMessageA(menu, WM_KEYDOWN, key, 1);
        ::PostMessageA(menu, WM_KEYUP, key, 0xC0000001);
    }
    HWND details = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (details = ShownWindowOf(program->ProcessId(), "TDetailsForm", "Item Details")) != nullptr; }));
    const ItemDetailsView view = ReadItemDetails(details);
    EXPECT_EQ(view.caption, "Index Files (index.dat)");
    EXPECT_EQ(view.totals,
              "This item was analysed as a whole and keeps no list of single entries: the label gives its result.");
    EXPECT_TRUE(view.listed.empty());
    EXPECT_TRUE(CloseItemDetails(details));
}

// A registry list names the values it counted, under their key; the label
// keeps its own count (here one less, as the list's order value does not
// count).
TEST_F(ItemDetails, ARegistryListNamesItsValues) {
    const std::string runList = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
    RegistryKeys saved;
    saved.Save(HKEY_CURRENT_USER, runList);
    DeleteKeyTree(HKEY_CURRENT_USER, runList);
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, runList, "a", "notepad\\1"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, runList, "b", "cmd\\1"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, runList, "MRUList", "ab"));
    StartWithTemp("[Settings]\r\n");
    ASSERT_TRUE(ClickAndWait(ctl::WAnalyzeBTN));
    EXPECT_EQ(Label(ctl::WRunField), "2 item(s)");
    HWND details = OpenItemDetails(*program, ctl::WRunField);
    ASSERT_TRUE(details);
    const ItemDetailsView view = ReadItemDetails(details);
    EXPECT_EQ(view.caption, "Windows Run & Stream File Lists");
    const std::string key = "HKCU\\" + runList;
    EXPECT_EQ(view.listed, (std::vector<std::string>{"a\t" + key + "\t(registry value)", "b\t" + key + "\t(registry value)",
                                                     "MRUList\t" + key + "\t(registry value)"}));
    EXPECT_TRUE(CloseItemDetails(details));
}

// A folder larger than what an item keeps: the totals count every entry,
// the list holds the first 50,000 and says how many more there were.
TEST_F(ItemDetails, AFolderBeyondTheLimitKeepsItsTotalsRight) {
    // In folders of 100: a create costs Wine time in proportion to the
    // size of its folder.
    constexpr int kFiles = 50000, kPerFolder = 100, kFolders = kFiles / kPerFolder;
    const std::string many = temp + "\\many";
    for (int i = 0; i < kFiles; ++i) {
        const std::string group = many + "\\d" + std::to_string(i / kPerFolder);
        if (i % kPerFolder == 0) {
            ASSERT_TRUE(MakeDirectories(group));
        }
        HANDLE file = ::CreateFileA((group + "\\" + std::to_string(i) + ".tmp").c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << i;
        DWORD written = 0;
        ::WriteFile(file, "x", 1, &written, nullptr);
        ::CloseHandle(file);
    }
    StartWithTemp("[Settings]\r\n");
    ASSERT_TRUE(ClickAndWait(ctl::WAnalyzeBTN));
    // The planted three files and their folder, the folder of many, its
    // folders and their files: past the limit by 5 + kFolders + 1.
    constexpr int kEntries = kFiles + kFolders + 5;
    EXPECT_EQ(Label(ctl::TempFiles), std::to_string(kEntries) + " file(s)");
    HWND details = OpenItemDetails(*program, ctl::TempFiles);
    ASSERT_TRUE(details);
    EXPECT_EQ(WindowText(FindChildById(details, ctl::DetailsTotalsLBL)),
              "Found: " + std::to_string(kEntries) + " entries, " + std::to_string(kFiles + 15) +
                  " bytes in files (the first 50000 listed)");
    HWND list = FindChildById(details, ctl::DetailsList);
    DWORD_PTR count = 0;
    ::SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 10000, &count);
    EXPECT_EQ(count, DWORD_PTR{50001});
    // Asked in UTF-16: Wine hands list texts to another process that way.
    wchar_t last[128] = {};
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(list, LB_GETTEXT, count - 1, reinterpret_cast<LPARAM>(last), SMTO_NORMAL, 10000, &length);
    const std::wstring expected = L"... and " + std::to_wstring(kEntries - 50000) + L" more, not listed";
    EXPECT_EQ(std::wstring(last), expected);
    EXPECT_TRUE(CloseItemDetails(details));
    RemoveTree(many);
}

}  // namespace
}  // namespace tarnwell::testing
