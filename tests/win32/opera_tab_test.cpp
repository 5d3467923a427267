// The Opera tab end to end: the real program, clicked as a user clicks,
// over a profile folder made in the test's own folder and named to the
// program through its settings file.
#include <gtest/gtest.h>

#include <commctrl.h>

#include "app/control_table.h"
#include "tests/win32/support/message_boxes.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/tab_fixture.h"

namespace tarnwell::testing {
namespace {

class OperaTab : public TabTest {
protected:
    std::string Profile() const { return folder / "opera\\profile\\"; }
    // opera6.ini naming `history` under the four history keys, in order.
    void PlantProfile(const std::vector<std::string>& history) {
        const std::string p = Profile();
        std::string ini = "Opera Preferences version 2.0\r\n\r\n[User Prefs]\r\nHome URL=http://www.example.com/\r\n";
        const char* keys[] = {"Direct History File", "Global History File", "Viewer History File",
                              "Button History File"};
        for (std::size_t i = 0; i < history.size(); ++i) ini += std::string(keys[i]) + "=" + history[i] + "\r\n";
        ASSERT_TRUE(Write(p + "opera6.ini", ini));
        for (const char* name : {"cache4\\opr00001.htm", "cache4\\opr00002.gif", "cache4\\sub\\opr00003.js"})
            ASSERT_TRUE(Write(p + name, "cached"));
        ASSERT_TRUE(Write(p + "global.dat", std::string(30, 'g')));
        ASSERT_TRUE(Write(p + "dhistory.dat", std::string(12, 'd')));
        ASSERT_TRUE(Write(p + "cookies4.dat", std::string(50, 'c')));
        ASSERT_TRUE(Write(p + "sessions\\autosave.win", std::string(70, 's')));
    }
    static bool Write(const std::string& path, const std::string& text) {
        return MakeDirectories(path.substr(0, path.rfind('\\'))) && WriteTextFile(path, text);
    }
    std::string Settings(const std::string& more = "") const {
        return "[Settings]\r\nOPPathEdit_Text=" + Profile() + "\r\n" + more;
    }
};

TEST_F(OperaTab, AFileNamedTwiceIsCountedTwiceAndSweptOnce) {
    PlantProfile({Profile() + "global.dat", Profile() + "global.dat", Profile() + "dhistory.dat", ""});
    Start(Settings());
    ASSERT_TRUE(ClickAndWait(ctl::OPAnalyzeBTN));
    EXPECT_EQ(Label(ctl::OPTempFiles), "4 file(s)");  // three files and a folder
    EXPECT_EQ(Label(ctl::OPHistFiles), "72 bytes");   // 30 + 30 + 12
    EXPECT_EQ(Label(ctl::OPCookFiles), "50 bytes");
    EXPECT_EQ(Label(ctl::OPSession), "70 bytes");
    EXPECT_TRUE(FileExists(Profile() + "global.dat"));

    Click(ctl::OPHistFilesCB);
    ASSERT_TRUE(ClickAndWait(ctl::OPSweepBTN));
    EXPECT_EQ(Label(ctl::OPHistFiles), "42 bytes deleted.");
    EXPECT_FALSE(FileExists(Profile() + "global.dat"));
    EXPECT_FALSE(FileExists(Profile() + "dhistory.dat"));
    EXPECT_TRUE(FileExists(Profile() + "opera6.ini"));  // only ever read
}

TEST_F(OperaTab, NoHistoryKeysCountNothingAndTheSessionGoesAlone) {
    PlantProfile({});
    Start(Settings("OPSessionCB_Checked=True\r\n"));
    ASSERT_TRUE(ClickAndWait(ctl::OPAnalyzeBTN));
    EXPECT_EQ(Label(ctl::OPHistFiles), "0 bytes");
    ASSERT_TRUE(ClickAndWait(ctl::OPSweepBTN));
    EXPECT_EQ(Label(ctl::OPSession), "70 bytes deleted.");
    EXPECT_FALSE(FileExists(Profile() + "sessions\\autosave.win"));
    for (const char* name : {"cookies4.dat", "global.dat", "cache4\\opr00001.htm"})
        EXPECT_TRUE(FileExists(Profile() + name)) << name;
}

TEST_F(OperaTab, WithoutTheProfileFolderTheButtonsDoNothing) {
    Start(Settings("OPAllCB_Checked=True\r\n"));  // the folder was never made
    Click(ctl::OPAnalyzeBTN);
    PostCommand(ctl::SweepOPHistMNU);
    ASSERT_TRUE(program->WaitUntilPostedMessagesHandled());
    EXPECT_EQ(Label(ctl::OPTempFiles), "Unknown");
    EXPECT_EQ(Label(ctl::OPSession), "Unknown");
    EXPECT_TRUE(program->Enabled(ctl::OPAnalyzeBTN));
}

// The tray's quick-sweep item with every box checked; then a profile picked
// on the Settings tab, with Opera in its path, takes over at once.
TEST_F(OperaTab, TheTrayItemSweepsAndAPickedFolderTakesOver) {
    PlantProfile({Profile() + "global.dat"});
    Start(Settings("OPAllCB_Checked=True\r\n"));
    PostCommand(ctl::SweepOPHistMNU);
    ASSERT_TRUE(WaitUntil([&] { return Label(ctl::OPTempFiles) != "Unknown"; }));
    ASSERT_TRUE(WaitUntilIdle(ctl::OPSweepBTN));
    EXPECT_EQ(Label(ctl::OPTempFiles), "4 file(s) deleted.");
    EXPECT_EQ(Label(ctl::OPHistFiles), "30 bytes deleted.");
    EXPECT_EQ(Label(ctl::OPCookFiles), "50 bytes deleted.");
    EXPECT_EQ(Label(ctl::OPSession), "70 bytes deleted.");
    EXPECT_EQ(EntriesBelow(Profile() + "cache4"), 1);  // the folder stays

    // The picker opens on the current profile; the test steps into its
    // only sub-folder that sorts first, "cache4", and confirms.
    ASSERT_TRUE(PickInFolderPicker(program->Control(ctl::OPPathEditBTN), FirstSubfolder));
    HWND question = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (question = MessageBoxWith("Confirm", "Opera")) != nullptr; }));
    EXPECT_EQ(BoxText(question),
              "It is extremely dangerous to set this path manually but Opera was detected in the path. Do you want to "
              "continue?");
    ::PostMessageA(question, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(WaitUntil([&] { return program->Text(ctl::OPPathEdit) != Profile(); }));
    const std::string picked = program->Text(ctl::OPPathEdit);
    ASSERT_TRUE(Write(picked + "cookies4.dat", std::string(9, 'c')));
    ASSERT_TRUE(ClickAndWait(ctl::OPAnalyzeBTN));
    EXPECT_EQ(Label(ctl::OPCookFiles), "9 bytes");
}

}  // namespace
}  // namespace tarnwell::testing
