// The popup allow/block list dialog of the real program, driven through
// its own controls from outside: editing the two lists, Done saving them
// (or not), a list file that cannot be written, and the filter level.
#include <gtest/gtest.h>

#include "app/control_table.h"
#include "stand-ins/popup/snuffet.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/registry_values.h"
#include "tests/win32/support/tab_fixture.h"

namespace tarnwell::testing {
namespace {

using Lines = std::vector<std::string>;

struct BoxSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindMessageBox(HWND window, LPARAM search) {
    auto& box = *reinterpret_cast<BoxSearch*>(search);
    char className[16] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (std::string(className) != "#32770" || !::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER) != box.owner)
        return TRUE;
    box.found = window;
    return FALSE;
}

// The message box `owner` shows, if any.
HWND MessageBoxOf(HWND owner) {
    BoxSearch search{owner, nullptr};
    ::EnumWindows(FindMessageBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class PopupList : public TabTest {
protected:
    void SetUp() override { keys.Save(HKEY_LOCAL_MACHINE, "Software\\Tarnwell"); }

    // Opens the dialog with "Configure", as the user does; it stays modal.
    void Open() {
        ::PostMessageA(program->Control(ctl::ConfigBTN), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitUntil([&] {
            dialog = ::FindWindowA("TCPForm", "Tarnwell Popup Allow/Block List");
            return dialog && ::IsWindowVisible(dialog);
        })) << "the dialog did not open";
    }
    HWND Item(int id) const { return FindChildById(dialog, id); }
    void Type(int edit, const std::string& text) const {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(Item(edit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, 5000,
                              &result);
    }
    std::string TextOf(int id) const {
        char text[512] = {};
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(Item(id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000,
                              &result);
        return text;
    }
    void Press(int button) const {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(Item(button), BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &result);
    }
    // A click on line `index` of a list: the selection, and the notice the
    // list sends its dialog.
    void Pick(int list, int index) const {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(Item(list), LB_SETCURSEL, static_cast<WPARAM>(index), 0, SMTO_NORMAL, 5000, &result);
        ::SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(list, LBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(list)),
                              SMTO_NORMAL, 5000, &result);
    }
    Lines Entries(int list) const { return ListBoxItems(Item(list)); }
    // Done; answers the text of the message box it showed ("" for none),
    // which is closed with OK.
    std::string Done() const {
        ::PostMessageA(Item(ctl::DoneBTN), BM_CLICK, 0, 0);
        HWND box = nullptr;
        const bool closed = WaitUntil([&] {
            box = MessageBoxOf(dialog);
            return box || !::IsWindowVisible(dialog);
        });
        if (!closed || !box) return "";
        char text[512] = {};
        ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        WaitUntil([&] { return !::IsWindow(box); });
        return text;
    }
    bool DialogOpen() const { return ::IsWindowVisible(dialog) != FALSE; }

    HWND dialog = nullptr;
    RegistryKeys keys;
};

TEST_F(PopupList, AddReplaceAndRemoveKeepHostsOnceAndDoneSavesBothLists) {
    ASSERT_TRUE(WriteTextFile(folder / "block.lst", "one.example\r\n\r\ntwo.example"));
    Start("[Settings]\r\nSnuffetCB_Checked=True\r\n");
    Open();
    EXPECT_EQ(Entries(ctl::DenyList), (Lines{"one.example", "", "two.example"}));

    // A secure address gives its host in the typed case; the same host in
    // lower case adds nothing and stays in the edit box.
    Type(ctl::AllowEdit, "https://WWW.Example.COM/path/page.html?q=1");
    Press(ctl::AddBTN);
    EXPECT_EQ(Entries(ctl::AllowList), (Lines{"WWW.Example.COM"}));
    EXPECT_EQ(TextOf(ctl::AllowEdit), "");
    Type(ctl::AllowEdit, "www.example.com");
    Press(ctl::AddBTN);
    EXPECT_EQ(Entries(ctl::AllowList), (Lines{"WWW.Example.COM"}));
    EXPECT_EQ(TextOf(ctl::AllowEdit), "www.example.com");

    // With both boxes filled only the allow list is served; a capital
    // scheme is not one, so the text is cut at its first "/".
    Type(ctl::AllowEdit, "HTTP://Caps.example/x");
    Type(ctl::DenyEdit, "ads.example");
    Press(ctl::AddBTN);
    EXPECT_EQ(Entries(ctl::AllowList), (Lines{"WWW.Example.COM", "HTTP:"}));
    EXPECT_EQ(Entries(ctl::DenyList), (Lines{"one.example", "", "two.example"}));
    EXPECT_EQ(TextOf(ctl::DenyEdit), "ads.example");

    // Replace without a selected line changes nothing; with one, the block
    // side's selected line takes the new host.
    Press(ctl::ReplaceBTN);
    EXPECT_EQ(Entries(ctl::DenyList), (Lines{"one.example", "", "two.example"}));
    Pick(ctl::DenyList, 2);
    EXPECT_EQ(TextOf(ctl::DenyEdit), "two.example");
    Type(ctl::DenyEdit, "http://three.example/pop");
    Press(ctl::ReplaceBTN);
    EXPECT_EQ(Entries(ctl::DenyList), (Lines{"one.example", "", "three.example"}));

    // Picking an allow line empties the block side's box; Remove takes it.
    Pick(ctl::AllowList, 1);
    EXPECT_EQ(TextOf(ctl::AllowEdit), "HTTP:");
    Press(ctl::RemoveBTN);
    EXPECT_EQ(Entries(ctl::AllowList), (Lines{"WWW.Example.COM"}));

    // Done writes both files; with the killer switched off it stays
    // unregistered.
    EXPECT_EQ(Done(), "Close and re-open Internet Explorer for changes to take effect.");
    EXPECT_FALSE(DialogOpen());
    EXPECT_EQ(ReadTextFile(folder / "allow.lst"), "WWW.Example.COM\r\n");
    EXPECT_EQ(ReadTextFile(folder / "block.lst"), "one.example\r\n\r\nthree.example\r\n");
    HKEY key = nullptr;
    EXPECT_NE(::RegOpenKeyExA(HKEY_CLASSES_ROOT, (std::string("CLSID\\") + kPopupKillerClassText).c_str(), 0,
                              KEY_READ, &key),
              ERROR_SUCCESS);
}

TEST_F(PopupList, DoneWithoutChangesWritesNothing) {
    Start("[Settings]\r\n");
    Open();
    EXPECT_EQ(Done(), "");
    EXPECT_FALSE(DialogOpen());
    EXPECT_FALSE(FileExists(folder / "allow.lst"));
    EXPECT_FALSE(FileExists(folder / "block.lst"));
}

TEST_F(PopupList, AListThatCannotBeWrittenKeepsTheDialogOpenWithItsChanges) {
    ASSERT_TRUE(MakeDirectories(folder / "allow.lst"));  // a folder where the file should go
    Start("[Settings]\r\n");
    Open();
    Type(ctl::DenyEdit, "ads.example");
    Press(ctl::AddBTN);
    EXPECT_NE(Done().find("allow.lst"), std::string::npos);
    EXPECT_TRUE(DialogOpen());
    EXPECT_FALSE(FileExists(folder / "block.lst"));
    // Once the way is free, Done saves what was changed before.
    ASSERT_TRUE(::RemoveDirectoryA((folder / "allow.lst").c_str()));
    ASSERT_TRUE(DialogOpen());
    EXPECT_EQ(Done(), "Close and re-open Internet Explorer for changes to take effect.");
    EXPECT_EQ(ReadTextFile(folder / "block.lst"), "ads.example\r\n");
    EXPECT_EQ(ReadTextFile(folder / "allow.lst"), "");
}

TEST_F(PopupList, TheLevelIsStoredInTheRegistryAndReadAtTheNextStart) {
    Start("[Settings]\r\n");
    Open();
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(Item(ctl::LVLCBox), CB_SETCURSEL, 2, 0, SMTO_NORMAL, 5000, &result);
    ::SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(ctl::LVLCBox, CBN_SELCHANGE),
                          reinterpret_cast<LPARAM>(Item(ctl::LVLCBox)), SMTO_NORMAL, 5000, &result);
    char level[8] = {};
    DWORD size = sizeof level;
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Tarnwell", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(::RegQueryValueExA(key, "Level", nullptr, nullptr, reinterpret_cast<BYTE*>(level), &size), ERROR_SUCCESS);
    ::RegCloseKey(key);
    EXPECT_STREQ(level, "2");
    // A level change alone is a change: Done writes both (empty) lists.
    EXPECT_EQ(Done(), "Close and re-open Internet Explorer for changes to take effect.");
    EXPECT_EQ(ReadTextFile(folder / "allow.lst"), "");

    program->EndSession();
    ASSERT_TRUE(program->WaitForExit());
    program = std::make_unique<TarnwellProcess>(folder.Path());
    ASSERT_TRUE(program->WaitForMainWindow()) << program->StartState();
    Open();
    EXPECT_EQ(::SendMessageA(Item(ctl::LVLCBox), CB_GETCURSEL, 0, 0), 2);
    ::PostMessageA(dialog, WM_CLOSE, 0, 0);
}

}  // namespace
}  // namespace tarnwell::testing
