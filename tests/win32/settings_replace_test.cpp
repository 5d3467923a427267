// settings.ini replaced whole by the running program: what a save carries
// over, what a save that cannot replace the file leaves behind, the backup
// path of the 95 family, and a file that cannot be read at start-up.
#include <gtest/gtest.h>

#include "app/control_table.h"
#include "app/registry_win.h"
#include "tests/win32/support/message_boxes.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/planted_files.h"
#include "tests/win32/support/tarnwell_process.h"

namespace tarnwell::testing {
namespace {

class SettingsReplace : public ::testing::Test {
protected:
    std::string Settings() const { return folder / "settings.ini"; }
    void TearDown() override {
        if (program && program->Running()) {
            program->EndSession();
            program->WaitForExit();
        }
        ::SetFileAttributesA(Settings().c_str(), FILE_ATTRIBUTE_NORMAL);  // for the folder's removal
    }
    void Start() {
        program = std::make_unique<TarnwellProcess>(folder.Path());
        ASSERT_TRUE(program->WaitForMainWindow()) << program->StartState();
    }
    // Opens the Cookie Keeper as its button on the IE tab does; null when
    // it does not show.
    HWND OpenCookieKeeper() const {
        ::PostMessageA(program->Control(ctl::IECookKeepBTN), BM_CLICK, 0, 0);
        HWND dialog = nullptr;
        WaitUntil([&] { return (dialog = ShownCookieKeeper()) != nullptr; });
        return dialog;
    }
    void EndSession() {
        program->EndSession();
        ASSERT_TRUE(program->WaitForExit());
    }
    // Closes the program as "Shutdown Tarnwell" in the tray menu does, so
    // that a failed save is reported in a message box; returns the box's
    // text (empty when none came) once the program has ended.
    std::string ShutdownAndReadError() {
        ::PostMessageA(program->MainWindow(), WM_COMMAND, static_cast<WPARAM>(ctl::ShutdownMNU), 0);
        HWND question = nullptr;
        EXPECT_TRUE(WaitUntil([&] { return (question = MessageBoxWith("Tarnwell", "close Tarnwell")) != nullptr; }));
        if (!question) return "";
        ::PostMessageA(question, WM_COMMAND, IDYES, 0);
        HWND error = nullptr;
        WaitUntil([&] { return (error = MessageBoxWith("Error", folder.Path())) != nullptr; }, 10000);
        const std::string text = error ? BoxText(error) : std::string();
        if (error) ::PostMessageA(error, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(program->WaitForExit());
        return text;
    }
    void ExpectNoSideFiles() const {
        EXPECT_FALSE(FileExists(Settings() + ".new"));
        EXPECT_FALSE(FileExists(Settings() + ".bak"));
    }

    TempFolder folder;
    std::unique_ptr<TarnwellProcess> program;
};

TEST_F(SettingsReplace, SettingsSaveKeepsCommentsOtherSectionsAndUnknownKeys) {
    ASSERT_TRUE(WriteTextFile(Settings(),
                              "; written by hand\n[Other]\nKeep=me\n[Settings]\nUnknownKey=42\nTransBar_Position=30\n"
                              "\n[Settings.DstList_Items]\nCount=1\nItem0=a.txt\n"));
    Start();
    EndSession();
    const std::string saved = ReadTextFile(Settings());
    EXPECT_EQ(saved.rfind("; written by hand\r\n[Other]\r\nKeep=me\r\n[Settings]\r\nUnknownKey=42\r\n"
                          "TransBar_Position=30\r\nFormVersion=0\r\n",
                          0),
              0u);
    // The stored value replaced in its place, the rest after the unknown key.
    const std::vector<std::string> settings = IniSectionLines(Settings(), "Settings");
    ASSERT_EQ(settings.size(), 82u);
    EXPECT_EQ(settings.back(), "StealthHK_HotKey=49242");
    EXPECT_NE(saved.find("StealthHK_HotKey=49242\r\n\r\n[Settings.DstList_Items]\r\nCount=1\r\nItem0=a.txt\r\n"),
              std::string::npos);
    ExpectNoSideFiles();
}

TEST_F(SettingsReplace, CookieKeeperSaveChangesOnlyItsOwnSections) {
    const std::string others = "[Other]\r\nKeep=me\r\n; note\r\n[Settings]\r\nUnknownKey=42\r\nTransBar_Position=30\r\n";
    ASSERT_TRUE(WriteTextFile(Settings(), others + "[Settings.DstList_Items]\r\nCount=1\r\nItem0=a.txt\r\n"
                                                   "[Settings.FlashDstList_Items]\r\nCount=1\r\nItem0=site.org\r\n"));
    Start();
    const HWND dialog = OpenCookieKeeper();
    ASSERT_TRUE(dialog);
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(FindChildById(dialog, ctl::ExAllBtn), BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &result);
    ::PostMessageA(FindChildById(dialog, ctl::OKBtn), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(dialog); }));
    EXPECT_EQ(ReadTextFile(Settings()), others + "[Settings.FlashDstList_Items]\r\nCount=1\r\nItem0=site.org\r\n");
    ExpectNoSideFiles();
}

TEST_F(SettingsReplace, CookieKeeperSaveThatCannotReplaceTheFileLeavesItAndIsReported) {
    const std::string original = "[Settings]\r\n[Settings.DstList_Items]\r\nCount=1\r\nItem0=a.txt\r\n";
    ASSERT_TRUE(WriteTextFile(Settings(), original));
    Start();
    const HWND dialog = OpenCookieKeeper();
    ASSERT_TRUE(dialog);
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(FindChildById(dialog, ctl::ExAllBtn), BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &result);
    KernelHandle held(::CreateFileA(Settings().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    ::PostMessageA(FindChildById(dialog, ctl::OKBtn), BM_CLICK, 0, 0);
    HWND error = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (error = MessageBoxWith("Error", Settings())) != nullptr; }));
    EXPECT_NE(BoxText(error).find("Tarnwell could not save the Cookie Keeper's lists to " + Settings() + " (error "),
              std::string::npos)
        << BoxText(error);
    ::PostMessageA(error, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(dialog); }));
    held.reset();
    EXPECT_EQ(ReadTextFile(Settings()), original);
    ExpectNoSideFiles();
}

// How a test keeps the program from replacing settings.ini.
enum class Obstacle { HeldWithoutDeleteSharing, ReadOnly };

class UnreplaceableSettings : public SettingsReplace, public ::testing::WithParamInterface<Obstacle> {};

TEST_P(UnreplaceableSettings, SaveLeavesTheFileByteForByteAndIsReported) {
    const std::string original = "[Other]\nKeep=me\n[Settings]\nTransBar_Position=30\n";
    ASSERT_TRUE(WriteTextFile(Settings(), original));
    Start();
    ASSERT_EQ(program->TrackBarPosition(ctl::TransBar), 30);
    KernelHandle held;
    if (GetParam() == Obstacle::ReadOnly) {
        ASSERT_TRUE(::SetFileAttributesA(Settings().c_str(), FILE_ATTRIBUTE_READONLY));
    } else {
        held.reset(::CreateFileA(Settings().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);
    }
    const std::string report = ShutdownAndReadError();
    EXPECT_NE(report.find("Tarnwell could not save its settings to " + Settings() + " (error "), std::string::npos)
        << report;
    held.reset();
    EXPECT_EQ(ReadTextFile(Settings()), original);
    ExpectNoSideFiles();
}

INSTANTIATE_TEST_SUITE_P(Obstacles, UnreplaceableSettings,
                         ::testing::Values(Obstacle::HeldWithoutDeleteSharing, Obstacle::ReadOnly));

// Windows 98 has no one-step replace: the old file becomes a backup for
// as long as the new one takes its name.
TEST_F(SettingsReplace, On98TheBackupPathReplacesTheFileAndLeavesNoBackup) {
    WindowsVersionOverride version("win98");
    ASSERT_TRUE(WriteTextFile(Settings(), "[Other]\r\nKeep=me\r\n[Settings]\r\nTransBar_Position=30\r\n"));
    Start();
    EndSession();
    EXPECT_EQ(IniSectionLines(Settings(), "Other"), std::vector<std::string>{"Keep=me"});
    const std::vector<std::string> settings = IniSectionLines(Settings(), "Settings");
    ASSERT_EQ(settings.size(), 81u);
    EXPECT_EQ(settings[0], "TransBar_Position=30");
    EXPECT_EQ(settings[1], "FormVersion=0");
    ExpectNoSideFiles();
}

TEST_F(SettingsReplace, ABackupLeftAloneByAnInterruptedReplaceIsTakenBack) {
    ASSERT_TRUE(WriteTextFile(Settings() + ".bak", "[Other]\r\nKeep=me\r\n[Settings]\r\nTransBar_Position=30\r\n"));
    Start();
    EXPECT_EQ(program->TrackBarPosition(ctl::TransBar), 30);
    EndSession();
    EXPECT_EQ(IniSectionLines(Settings(), "Other"), std::vector<std::string>{"Keep=me"});
    EXPECT_EQ(IniSectionLines(Settings(), "Settings")[0], "TransBar_Position=30");
    ExpectNoSideFiles();
}

TEST_F(SettingsReplace, On98AFileHeldOpenIsLeftWholeAndTheFailureReported) {
    WindowsVersionOverride version("win98");
    const std::string original = "[Settings]\r\nTransBar_Position=30\r\n";
    ASSERT_TRUE(WriteTextFile(Settings(), original));
    Start();
    KernelHandle held(::CreateFileA(Settings().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    const std::string report = ShutdownAndReadError();
    EXPECT_NE(report.find("Tarnwell could not save its settings to " + Settings()), std::string::npos) << report;
    held.reset();
    EXPECT_EQ(ReadTextFile(Settings()), original);
    ExpectNoSideFiles();
}

// Held open without any sharing while the program starts, the file cannot
// be read: the program says so once, keeps its hands off the file for the
// whole session, and a cookie sweep leaves every cookie alone, since the
// keep list is unknown.
TEST_F(SettingsReplace, UnreadableAtStartIsReportedAndNeitherSavedNorSweptAround) {
    PlantedFiles planted;
    const std::string cookies = *ReadRegistryString(
        HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Cookies");
    for (const char* name : {"root@kept[1].txt", "root@other[1].txt"})
        ASSERT_TRUE(planted.File(cookies + "\\" + name, "cookie")) << name;
    const std::string original = "[Settings]\r\nTransBar_Position=30\r\n[Settings.DstList_Items]\r\nCount=1\r\n"
                                 "Item0=root@kept[1].txt\r\n";
    ASSERT_TRUE(WriteTextFile(Settings(), original));
    KernelHandle held(::CreateFileA(Settings().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    program = std::make_unique<TarnwellProcess>(folder.Path());
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = MessageBoxWith("Error", Settings())) != nullptr; }));
    const std::string text = BoxText(box);
    EXPECT_NE(text.find("could not read its settings file " + Settings()), std::string::npos) << text;
    EXPECT_NE(text.find("settings and Cookie Keeper lists were not loaded and will not be saved this session"),
              std::string::npos)
        << text;
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(program->WaitForMainWindow()) << program->StartState();
    held.reset();  // from here on the file could be written: the program must not
    EXPECT_EQ(program->TrackBarPosition(ctl::TransBar), 0);

    program->Click(ctl::IECookFilesCB);
    ASSERT_TRUE(program->Checked(ctl::IECookFilesCB));
    program->Click(ctl::IESweepBTN);
    ASSERT_TRUE(program->WaitUntilEnabled(ctl::IESweepBTN));
    EXPECT_EQ(program->Text(ctl::IECookFiles), "Not Found.");
    EXPECT_TRUE(FileExists(cookies + "\\root@kept[1].txt"));
    EXPECT_TRUE(FileExists(cookies + "\\root@other[1].txt"));

    // The Cookie Keeper closed with OK does not save its empty lists either.
    const HWND dialog = OpenCookieKeeper();
    ASSERT_TRUE(dialog);
    ::PostMessageA(FindChildById(dialog, ctl::OKBtn), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(dialog); }));
    EXPECT_EQ(ReadTextFile(Settings()), original);

    EndSession();
    EXPECT_EQ(ReadTextFile(Settings()), original);
    ExpectNoSideFiles();
}

}  // namespace
}  // namespace tarnwell::testing
