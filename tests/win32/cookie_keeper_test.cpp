// The Cookie Keeper in the running program: opened from its buttons and the
// tray menu, lists moved with its buttons, keep lists saved to settings.ini.
#include <gtest/gtest.h>

#include "app/control_table.h"
#include "app/known_locations.h"
#include "app/registry_win.h"
#include "tests/win32/support/message_boxes.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/planted_files.h"
#include "tests/win32/support/tarnwell_process.h"

namespace tarnwell::testing {
namespace {

class CookieKeeper : public ::testing::Test {
protected:
    void SetUp() override {
        cookies = *ReadRegistryString(HKEY_CURRENT_USER,
                                      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Cookies");
        for (const char* name : {"root@example[1].txt", "root@shop[2].txt", "root@news[1].txt"})
            ASSERT_TRUE(planted.File(cookies + "\\" + name, "cookie")) << name;
        ASSERT_TRUE(planted.Folder(cookies + "\\folder.txt"));
        char profile[MAX_PATH];
        ::ExpandEnvironmentStringsA("%USERPROFILE%", profile, MAX_PATH);
        sharedObjects = std::string(profile) + "\\Application Data\\Macromedia\\Flash Player\\#SharedObjects";
    }
    void TearDown() override {
        if (program && program->Running()) {
            program->EndSession();
            program->WaitForExit();
        }
        planted.RemoveAll();
    }
    // Two sites with Flash data and a file beside them, below a folder
    // named as the player names its own.
    void PlantFlashSites() {
        const std::string objects = sharedObjects + "\\K7QW3ZPA\\";
        for (const char* site : {"site1.com", "site2.org"}) ASSERT_TRUE(planted.Folder(objects + site)) << site;
        ASSERT_TRUE(planted.File(objects + "stray.sol"));
    }
    void Start(const std::string& settings) {
        ASSERT_TRUE(WriteTextFile(folder / "settings.ini", settings));
        program = std::make_unique<TarnwellProcess>(folder.Path());
        ASSERT_TRUE(program->WaitForMainWindow()) << program->StartState();
    }
    // Opens the dialog as a click on `button` (or a menu command) does.
    HWND Open(int button, bool menu = false) {
        if (menu)
            ::PostMessageA(program->MainWindow(), WM_COMMAND, static_cast<WPARAM>(button), 0);
        else
            ::PostMessageA(program->Control(button), BM_CLICK, 0, 0);
        HWND dialog = nullptr;
        WaitUntil([&] { return (dialog = ShownCookieKeeper()) != nullptr; });
        return dialog;
    }
    void Click(HWND dialog, int id) {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(FindChildById(dialog, id), BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &result);
    }
    void CloseWithOk(HWND dialog) {
        ::PostMessageA(FindChildById(dialog, ctl::OKBtn), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(dialog); })) << "the Cookie Keeper stayed open";
    }

    TempFolder folder;
    PlantedFiles planted;
    std::string cookies, sharedObjects;
    std::unique_ptr<TarnwellProcess> program;
};

TEST_F(CookieKeeper, KeptCookiesLeaveTheCandidatesAndAreSaved) {
    Start("[Settings]\r\n[Settings.DstList_Items]\r\nCount=1\r\nItem0=root@news[1].txt\r\n");
    HWND dialog = Open(ctl::IECookKeepBTN);
    ASSERT_NE(dialog, nullptr);
    HWND source = FindChildById(dialog, ctl::SrcList), keep = FindChildById(dialog, ctl::DstList);
    EXPECT_EQ(ListBoxItems(source), (std::vector<std::string>{"root@example[1].txt", "root@shop[2].txt"}));
    EXPECT_EQ(ListBoxItems(keep), std::vector<std::string>{"root@news[1].txt"});
    EXPECT_TRUE(::IsWindowEnabled(FindChildById(dialog, ctl::ExcludeBtn)));

    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(source, LB_SETSEL, TRUE, 1, SMTO_NORMAL, 5000, &result);
    Click(dialog, ctl::IncludeBtn);
    EXPECT_EQ(ListBoxItems(keep), (std::vector<std::string>{"root@news[1].txt", "root@shop[2].txt"}));
    EXPECT_EQ(ListBoxItems(source), std::vector<std::string>{"root@example[1].txt"});
    CloseWithOk(dialog);
    EXPECT_EQ(IniSectionLines(folder / "settings.ini", "Settings.DstList_Items"),
              (std::vector<std::string>{"Count=2", "Item0=root@news[1].txt", "Item1=root@shop[2].txt"}));

    // Moved back, a name returns to its sorted place; an empty list leaves no section.
    dialog = Open(ctl::AOLCookKeepBTN);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, ctl::ExAllBtn);
    EXPECT_EQ(ListBoxItems(FindChildById(dialog, ctl::SrcList)),
              (std::vector<std::string>{"root@example[1].txt", "root@news[1].txt", "root@shop[2].txt"}));
    EXPECT_FALSE(::IsWindowEnabled(FindChildById(dialog, ctl::ExcludeBtn)));
    CloseWithOk(dialog);
    EXPECT_TRUE(IniSectionLines(folder / "settings.ini", "Settings.DstList_Items").empty());
    EXPECT_EQ(ReadTextFile(folder / "settings.ini").find("[Settings.DstList_Items]"), std::string::npos);
}

TEST_F(CookieKeeper, FlashTabListsSiteFoldersAndTheTrayOpensTheLastTab) {
    PlantFlashSites();
    Start("[Settings]\r\n");
    HWND dialog = Open(ctl::FlashCookKeepBTN);
    ASSERT_NE(dialog, nullptr);
    HWND tabs = FindChildById(dialog, ctl::CKPages);
    EXPECT_EQ(::SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(ListBoxItems(FindChildById(dialog, ctl::FlashSrcList)),
              (std::vector<std::string>{"site1.com", "site2.org"}));
    EXPECT_FALSE(::IsWindowEnabled(FindChildById(dialog, ctl::FlashExAllBTN)));
    CloseWithOk(dialog);
    dialog = Open(ctl::CookieKeeperMNU, true);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(::SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 3);
    ::PostMessageA(dialog, WM_CLOSE, 0, 0);  // the title-bar close saves too
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(dialog); }));
}

TEST_F(CookieKeeper, DamagedKeepListSectionsLoadWhatIsThere) {
    PlantFlashSites();
    Start("[Settings]\r\n[Settings.FlashDstList_Items]\r\nCount=99999999\r\nItem0=site2.org\r\nItem2=gone.net\r\n");
    HWND dialog = Open(ctl::FlashCookKeepBTN);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ListBoxItems(FindChildById(dialog, ctl::FlashDstList)),
              (std::vector<std::string>{"site2.org", "gone.net"}));
    EXPECT_EQ(ListBoxItems(FindChildById(dialog, ctl::FlashSrcList)), std::vector<std::string>{"site1.com"});
    CloseWithOk(dialog);
    EXPECT_EQ(IniSectionLines(folder / "settings.ini", "Settings.FlashDstList_Items"),
              (std::vector<std::string>{"Count=2", "Item0=site2.org", "Item1=gone.net"}));
}

}  // namespace
}  // namespace tarnwell::testing

namespace tarnwell::testing {
namespace {

TEST_F(CookieKeeper, SharedObjectsFolderHoldingOnlyFilesLeavesTheFlashTabEmpty) {
    ASSERT_TRUE(planted.File(sharedObjects + "\\settings.sol"));
    Start("[Settings]\r\n");
    HWND dialog = Open(ctl::FlashCookKeepBTN);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(ListBoxItems(FindChildById(dialog, ctl::FlashSrcList)).empty());
    EXPECT_FALSE(::IsWindowEnabled(FindChildById(dialog, ctl::FlashIncAllBTN)));
    CloseWithOk(dialog);
}

}  // namespace
}  // namespace tarnwell::testing
