// The AOL Browser tab end to end: the real program, clicked as a user
// clicks, over an AOL folder made in the test's own folder (named to the
// program as AOL's installation folder in the registry) and the prefix's
// own Internet Explorer cookie folder.
#include <gtest/gtest.h>

#include <commctrl.h>

#include "app/control_table.h"
#include "app/known_locations.h"
#include "app/system_info_win.h"
#include "app/path_macros.h"
#include "engine/registry_cleaner.h"
#include "tests/win32/support/message_boxes.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/registry_values.h"
#include "tests/win32/support/tab_fixture.h"

namespace tarnwell::testing {
namespace {

const std::string kAolVersion = "Software\\America Online\\AOL\\CurrentVersion";
const char* kGoneCookie = "user@gone.example[1].txt";
const char* kKeptCookie = "user@kept.example[1].txt";

class AolTab : public TabTest {
protected:
    void SetUp() override {
        savedKeys.Save(HKEY_LOCAL_MACHINE, kAolVersion);
        DeleteKeyTree(HKEY_LOCAL_MACHINE, kAolVersion);
        cookies = WithoutTrailingBackslash(DiscoverKnownLocations(DetectOsFlags(), "C:\\").CookieDir);
        ASSERT_FALSE(cookies.empty());
        ASSERT_EQ(EntriesBelow(cookies), 0) << "the cookie folder must hold nothing of anyone else's";
        planted.WatchForNewEntries(cookies);
        ASSERT_TRUE(planted.File(cookies + "\\" + kGoneCookie, "session\n1\ngone.example/\n"));
        ASSERT_TRUE(planted.File(cookies + "\\" + kKeptCookie, "login\n1\nkept.example/\n"));
    }
    // An AOL installation below the test's folder, announced in the registry.
    std::string Install(const std::string& name) {
        EXPECT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, kAolVersion, "AppPath", folder / name));
        return folder / (name + "\\organize\\");
    }
    // A user's folder and its address files (".ARL" 10 bytes, "1.AUT" 20).
    static void PlantUser(const std::string& organize, const std::string& user) {
        ASSERT_TRUE(MakeDirectories(organize + user));
        ASSERT_TRUE(WriteTextFile(organize + user + ".ARL", std::string(10, 'a')));
        ASSERT_TRUE(WriteTextFile(organize + user + "1.AUT", std::string(20, 'u')));
    }
    static void PlantInstallation(const std::string& organize) {
        PlantUser(organize, "demosurfer");
        ASSERT_TRUE(MakeDirectories(organize + "newuser"));
        ASSERT_TRUE(MakeDirectories(organize + "Cache"));
        ASSERT_TRUE(WriteTextFile(organize + "Cache\\aolcache1.art", "art"));
        ASSERT_TRUE(WriteTextFile(organize + "Cache\\aolcache2.art", "art"));
    }
    int ComboCount() const {
        return static_cast<int>(::SendMessageA(program->Control(ctl::AOLProfileCombo), CB_GETCOUNT, 0, 0));
    }
    int ComboSelection() const {
        return static_cast<int>(::SendMessageA(program->Control(ctl::AOLProfileCombo), CB_GETCURSEL, 0, 0));
    }

    RegistryKeys savedKeys;  // AOL's registry key as it was, back afterwards
    std::string cookies;
};

TEST_F(AolTab, TheUserScanOffersOnlyTheScreenNameAndAnalyzeCountsEveryItem) {
    const std::string organize = Install("aol");
    PlantInstallation(organize);
    Start("[Settings]\r\n");
    ASSERT_TRUE(WaitUntil([&] { return program->Text(ctl::AOLProfileCombo) == "demosurfer"; }));
    ASSERT_TRUE(program->WaitUntilPostedMessagesHandled());
    EXPECT_EQ(ComboCount(), 1);  // not the files, "Cache" or "newuser"
    EXPECT_EQ(program->Text(ctl::AOLPathEdit), organize);
    ASSERT_TRUE(ClickAndWait(ctl::AOLAnalyzeBTN));
    EXPECT_EQ(Label(ctl::AOLTempFiles), "2 file(s)");
    EXPECT_EQ(Label(ctl::AOLCookFiles), "2 file(s)");
    EXPECT_EQ(Label(ctl::AOLDropDown), "30 byte(s)");
    EXPECT_EQ(Label(ctl::AOLToolbar), "0 item(s)");
    EXPECT_EQ(Label(ctl::AOLDeskbar), "0 item(s)");
    EXPECT_TRUE(FileExists(organize + "demosurfer.ARL"));
}

TEST_F(AolTab, AStoredIndexOfOneChoosesTheSecondUser) {
    const std::string organize = Install("aol");
    PlantInstallation(organize);
    PlantUser(organize, "nightowl42");
    Start("[Settings]\r\nAOLProfileCombo_Tag=1\r\n");
    ASSERT_TRUE(WaitUntil([&] { return ComboCount() == 2 && ComboSelection() == 1; }));
    const std::string chosen = program->Text(ctl::AOLProfileCombo);
    EXPECT_TRUE(chosen == "demosurfer" || chosen == "nightowl42") << chosen;
}

// Through the tray's quick-sweep item.
TEST_F(AolTab, CookiesGoExceptTheKeptOneWhichIsStillCounted) {
    const std::string organize = Install("aol");
    PlantInstallation(organize);
    Start(std::string("[Settings]\r\nAOLCookFilesCB_Checked=True\r\nAOLDropDownCB_Checked=True\r\n"
                      "[Settings.DstList_Items]\r\nCount=1\r\nItem0=") + kKeptCookie + "\r\n");
    ASSERT_TRUE(WaitUntil([&] { return program->Text(ctl::AOLProfileCombo) == "demosurfer"; }));
    PostCommand(ctl::SweepAOLHistMNU);
    ASSERT_TRUE(WaitUntil([&] { return Label(ctl::AOLCookFiles) != "Unknown"; }));
    ASSERT_TRUE(WaitUntilIdle(ctl::AOLSweepBTN));
    EXPECT_EQ(Label(ctl::AOLCookFiles), "2 file(s) deleted.");
    EXPECT_FALSE(FileExists(cookies + "\\" + kGoneCookie));
    EXPECT_TRUE(FileExists(cookies + "\\" + kKeptCookie));
    EXPECT_EQ(Label(ctl::AOLDropDown), "30 byte(s) deleted.");
    EXPECT_FALSE(FileExists(organize + "demosurfer.ARL"));
    EXPECT_FALSE(FileExists(organize + "demosurfer1.AUT"));
    EXPECT_EQ(Label(ctl::AOLTempFiles), "Unknown");
    EXPECT_TRUE(FileExists(organize + "Cache\\aolcache1.art"));
}

TEST_F(AolTab, WithoutTheAolFolderTheButtonsDoNothing) {
    Start("[Settings]\r\nAOLAllCB_Checked=True\r\n");
    Click(ctl::AOLAnalyzeBTN);
    PostCommand(ctl::SweepAOLHistMNU);
    ASSERT_TRUE(program->WaitUntilPostedMessagesHandled());
    EXPECT_EQ(Label(ctl::AOLCookFiles), "Unknown");
    EXPECT_TRUE(FileExists(cookies + "\\" + kGoneCookie));
}

// The Settings tab's dialog opens on the AOL folder; the test climbs to the
// test's folder and picks the second installation's folder above its
// "organize" folder, which is what gets stored.
TEST_F(AolTab, PickingTheFolderAboveOrganizeStoresOrganizeAndListsItsUsers) {
    const std::string organize = Install("aol");
    PlantInstallation(organize);
    const std::string second = folder / "aol2\\organize\\";
    PlantUser(second, "secondsurfer");
    ASSERT_TRUE(WriteTextFile(second + "secondsurfer.AUT", std::string(7, 's')));
    Start("[Settings]\r\n");
    ASSERT_TRUE(WaitUntil([&] { return program->Text(ctl::AOLProfileCombo) == "demosurfer"; }));

    // The test's folder holds two folders, "aol" and "aol2", in that order.
    ASSERT_TRUE(PickInFolderPicker(program->Control(ctl::AOLPathEditBTN), [](HWND tree, HTREEITEM opened) {
        const HTREEITEM aol = TreeView_GetParent(tree, opened);
        const HTREEITEM testFolder = aol ? TreeView_GetParent(tree, aol) : nullptr;
        return testFolder ? TreeView_GetNextSibling(tree, TreeView_GetChild(tree, testFolder)) : nullptr;
    }));
    HWND question = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (question = MessageBoxWith("Confirm", "AOL")) != nullptr; }));
    EXPECT_EQ(BoxText(question),
              "It is extremely dangerous to set this path manually but AOL was detected in the path. Do you want to "
              "continue?");
    ::PostMessageA(question, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(WaitUntil([&] { return program->Text(ctl::AOLProfileCombo) == "secondsurfer"; }));
    EXPECT_EQ(program->Text(ctl::AOLPathEdit), second);
    // The tab works on the chosen folder at once.
    ASSERT_TRUE(ClickAndWait(ctl::AOLAnalyzeBTN));
    EXPECT_EQ(Label(ctl::AOLDropDown), "37 byte(s)");  // 10 + 20 + 7
    EXPECT_EQ(Label(ctl::AOLTempFiles), "Not Found.");
}

// AOL not found at start-up: the Locate button searches the shared
// application data folder (here the test's own) and the folder saved
// there makes the tab work at once.
TEST_F(AolTab, ALocatedFolderMakesTheTabWorkAtOnce) {
    RegistryValues shellFolders;
    shellFolders.Set(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Folders",
                     "Common AppData", WithoutTrailingBackslash(folder.Path()));
    const std::string organize = folder / "Programs\\AOL 9.0\\organize\\";
    PlantInstallation(organize);
    Start("[Settings]\r\n");
    Click(ctl::AOLAnalyzeBTN);
    EXPECT_EQ(Label(ctl::AOLDropDown), "Unknown");  // nothing found at start-up

    ::PostMessageA(program->Control(ctl::LocateAOL2BTN), BM_CLICK, 0, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        dialog = ::FindWindowA(nullptr, "Tarnwell Locate Directory");
        return dialog && ::IsWindowVisible(dialog) &&
               WindowText(FindChildById(dialog, ctl::FoundLabel)) == "1 directories found.";
    })) << "the search did not find the one organize folder";
    EXPECT_EQ(ListBoxItems(FindChildById(dialog, ctl::PathBox)),
              std::vector<std::string>{WithoutTrailingBackslash(organize)});
    ::PostMessageA(FindChildById(dialog, ctl::SaveBTN), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return program->Text(ctl::AOLProfileCombo) == "demosurfer"; }));
    EXPECT_EQ(program->Text(ctl::AOLPathEdit), organize);
    ASSERT_TRUE(ClickAndWait(ctl::AOLAnalyzeBTN));
    EXPECT_EQ(Label(ctl::AOLDropDown), "30 byte(s)");
    EXPECT_EQ(Label(ctl::AOLTempFiles), "2 file(s)");
}

}  // namespace
}  // namespace tarnwell::testing
