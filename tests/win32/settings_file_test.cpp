// The settings file as the running program reads and writes it.
#include <gtest/gtest.h>

#include "app/control_table.h"
#include "tests/win32/support/tarnwell_process.h"

#include <iterator>
#include <set>

namespace tarnwell::testing {
namespace {

constexpr const char* kIeItems[] = {"IETempFilesCB", "IEHistFilesCB", "IECookFilesCB", "IEDropDownCB", "IEAutoCB",
                                    "IEIndexCB",     "IEGoogleCB",    "IEYahooCB",     "IEToolBarCB"};

// The [Settings] section a program with built-in defaults writes, in
// file order after FormVersion: the order is part of the file format.
constexpr const char* kDefaultLines[] = {
    "AOLAllCB_Checked=False", "AOLCookFilesCB_Checked=False", "AOLDropDownCB_Checked=False",
    "AOLHistFilesCB_Checked=False", "AOLIETempFilesCB_Checked=False", "AOLToolBarCB_Checked=False",
    "AOLDeskbarCB_Checked=False", "AOLTempFilesCB_Checked=False", "AOLPathEdit_Text=", "CHKFilesCB_Checked=False",
    "IEAllCB_Checked=False", "IEAutoCB_Checked=False", "IECookFilesCB_Checked=False", "IEDropDownCB_Checked=False",
    "IEHistFilesCB_Checked=False", "IEIndexCB_Checked=False", "IETempFilesCB_Checked=False",
    "IEGoogleCB_Checked=False", "IEYahooCB_Checked=False", "IEToolBarCB_Checked=False", "MPAllCB_Checked=False",
    "NSAllCB_Checked=False", "NSCookFilesCB_Checked=False", "NSDropDownCB_Checked=False",
    "NSHistFilesCB_Checked=False", "NSPathEdit_Text=", "NSTempFilesCB_Checked=False", "NSToolBarCB_Checked=False",
    "OPAllCB_Checked=False", "OPCookFilesCB_Checked=False", "OPHistFilesCB_Checked=False", "OPPathEdit_Text=",
    "OPSessionCB_Checked=False", "OPTempFilesCB_Checked=False", "ProtectCB_Checked=True",
    "QTRecentFilesCB_Checked=True", "RecentFilesCB_Checked=False", "RecycleFilesCB_Checked=False",
    "RPRecentFilesCB_Checked=True", "TempFilesCB_Checked=False", "WAllCB_Checked=False",
    "WFindFieldsCB_Checked=False", "WMPRecentFilesCB_Checked=True", "WRunFieldCB_Checked=False",
    "WStartLoadCB_Checked=False", "WComDlgCB_Checked=False", "WUserAssistCB_Checked=False", "TransBar_Position=0",
    "BossKeyCB_Checked=True", "StealthCB_Checked=False", "AutoCloseSweepCB_Checked=False",
    "WinStartCB_Checked=False", "SnuffetCB_Checked=False", "HideIconCB_Checked=True", "AOLProfileCombo_Tag=0",
    "NSProfileCombo_Tag=0", "FFAllCB_Checked=False", "FFCookFilesCB_Checked=False", "FFFormHistCB_Checked=False",
    "FFHistFilesCB_Checked=False", "FFProfileCombo_Tag=0", "FFPathEdit_Text=", "FFTempFilesCB_Checked=False",
    "FFPasswordsCB_Checked=False", "FFDownManCB_Checked=False", "FFGBarCB_Checked=False", "FFYBarCB_Checked=False",
    "RandOverCB_Checked=True", "ScrambleCB_Checked=True", "FlushBufferCB_Checked=False", "ZeroFileCB_Checked=True",
    "OverMinCB_Checked=True", "EncryptEdit_Value=1", "PopCount_Text=0", "FlashSOCB_Checked=False",
    "ShockwaveCB_Checked=False", "VintrelCB_Checked=False", "PlugCB_Checked=True", "PAllCB_Checked=False",
    "StealthHK_HotKey=49242"
};

std::string KeyOf(const std::string& line) { return line.substr(0, line.find('=')); }

int Id(const char* name) { return FindControl(name)->id; }

class SettingsFile : public ::testing::Test {
protected:
    std::string Settings() const { return folder / "settings.ini"; }
    void WriteSettings(const std::string& text) const { ASSERT_TRUE(WriteTextFile(Settings(), text)); }

    // Starts the program, lets `look` inspect it, then ends the session.
    template <typename Look>
    void RunProgram(Look look) {
        TarnwellProcess program(folder.Path());
        ASSERT_TRUE(program.WaitForMainWindow()) << program.StartState();
        look(program);
        program.EndSession();
        ASSERT_TRUE(program.WaitForExit());
    }

    TempFolder folder;
};

TEST_F(SettingsFile, SaveWritesEveryStoredPropertyInListOrderAndKeepsOtherData) {
    WriteSettings("[Other]\r\nKeep=me\r\n[Settings]\r\nUnknownKey=42\r\n");
    RunProgram([](TarnwellProcess&) {});

    auto lines = IniSectionLines(Settings(), "Settings");
    ASSERT_EQ(lines.size(), 82u);
    EXPECT_EQ(lines[0], "UnknownKey=42");
    EXPECT_EQ(lines[1], "FormVersion=0");
    lines.erase(lines.begin(), lines.begin() + 2);
    EXPECT_EQ(lines, std::vector<std::string>(std::begin(kDefaultLines), std::end(kDefaultLines)));
    EXPECT_EQ(IniSectionLines(Settings(), "Other"), std::vector<std::string>{"Keep=me"});
}

TEST_F(SettingsFile, SweepThemAllRestoredCheckedGovernsItsItems) {
    WriteSettings("[Settings]\r\nIEAllCB_Checked=True\r\n");
    RunProgram([](TarnwellProcess& p) {
        EXPECT_TRUE(p.Checked(ctl::IEAllCB));
        for (const char* item : kIeItems) {
            EXPECT_TRUE(p.Checked(Id(item))) << item;
            EXPECT_FALSE(p.Enabled(Id(item))) << item;
        }
        EXPECT_TRUE(p.Checked(ctl::VintrelCB));
        EXPECT_FALSE(p.Enabled(ctl::VintrelCB));
        // Everything else keeps its built-in default.
        EXPECT_TRUE(p.Checked(ctl::ProtectCB));
        EXPECT_FALSE(p.Checked(ctl::AOLAllCB));
        EXPECT_TRUE(p.Enabled(ctl::AOLTempFilesCB));
        EXPECT_EQ(p.Text(ctl::EncryptEdit), "1");
        EXPECT_EQ(p.Text(ctl::PopCount), "0");
        EXPECT_EQ(p.HotKey(ctl::StealthHK), 0x0600 | 'Z');
    });
}

TEST_F(SettingsFile, ItemsRestoredAfterTheirSweepThemAllBoxKeepTheirStoredState) {
    // WAllCB comes before WFindFieldsCB in the list, so the later key wins.
    WriteSettings("[Settings]\r\nWAllCB_Checked=True\r\nWFindFieldsCB_Checked=False\r\n");
    RunProgram([](TarnwellProcess& p) {
        EXPECT_TRUE(p.Checked(ctl::WAllCB));
        EXPECT_TRUE(p.Checked(ctl::CHKFilesCB));
        EXPECT_FALSE(p.Checked(ctl::WFindFieldsCB));
        EXPECT_FALSE(p.Enabled(ctl::WFindFieldsCB));
    });
}

TEST_F(SettingsFile, TransparencyPositionIsRestoredAndApplied) {
    WriteSettings("[Settings]\r\nTransBar_Position=50\r\n");
    RunProgram([](TarnwellProcess& p) {
        EXPECT_EQ(p.TrackBarPosition(ctl::TransBar), 50);
        EXPECT_TRUE(::GetWindowLongA(p.MainWindow(), GWL_EXSTYLE) & WS_EX_LAYERED);
        BYTE alpha = 0;
        DWORD flags = 0;
        ASSERT_TRUE(::GetLayeredWindowAttributes(p.MainWindow(), nullptr, &alpha, &flags));
        EXPECT_EQ(alpha, 128);
    });
    EXPECT_NE(ReadTextFile(Settings()).find("TransBar_Position=50"), std::string::npos);
}

TEST_F(SettingsFile, ValuesInAnyLetterCaseAndTrimmedText) {
    WriteSettings(
        "[settings]\r\nieallcb_checked=tRUE\r\nOPPathEdit_Text=   C:\\nowhere\\opera   \r\n"
        "EncryptEdit_Value=7\r\nStealthHK_HotKey=24643\r\nPopCount_Text= 12 \r\n");
    RunProgram([](TarnwellProcess& p) {
        EXPECT_TRUE(p.Checked(ctl::IEAllCB));
        EXPECT_EQ(p.Text(ctl::OPPathEdit), "C:\\nowhere\\opera");
        EXPECT_EQ(p.Text(ctl::EncryptEdit), "7");
        EXPECT_EQ(p.HotKey(ctl::StealthHK), 0x0300 | 'C');  // 24643 = Ctrl+Shift+C
        EXPECT_EQ(p.Text(ctl::PopCount), "12");
    });
    const std::string saved = ReadTextFile(Settings());
    EXPECT_NE(saved.find("OPPathEdit_Text=C:\\nowhere\\opera\r\n"), std::string::npos);
    EXPECT_NE(saved.find("StealthHK_HotKey=24643"), std::string::npos);
}

// A stored pass count that is not a number from 1 to 99 never reaches the
// field: the program starts with the built-in 1 (or the nearest end of the
// range for a number outside it) and writes that back.
struct StoredPasses {
    const char* stored;
    const char* shown;
};

class StoredPassCount : public SettingsFile, public ::testing::WithParamInterface<StoredPasses> {};

TEST_P(StoredPassCount, StartsWithANumberFromOneTo99) {
    WriteSettings(std::string("[Settings]\r\nEncryptEdit_Value=") + GetParam().stored + "\r\n");
    RunProgram([](TarnwellProcess& p) { EXPECT_EQ(p.Text(ctl::EncryptEdit), GetParam().shown); });
    EXPECT_NE(ReadTextFile(Settings()).find(std::string("\r\nEncryptEdit_Value=") + GetParam().shown + "\r\n"),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Values, StoredPassCount,
                         ::testing::Values(StoredPasses{"0", "1"}, StoredPasses{"abc", "1"}, StoredPasses{"", "1"},
                                           StoredPasses{"3x", "1"}, StoredPasses{"150", "99"},
                                           StoredPasses{" 12 ", "12"}));

// Whatever the file holds, the program starts with defaults for what it
// cannot read and writes the whole section back at exit.
class DamagedSettingsFile : public SettingsFile, public ::testing::WithParamInterface<const char*> {};

TEST_P(DamagedSettingsFile, StartsWithDefaultsAndIsRewrittenWhole) {
    WriteSettings(GetParam());
    RunProgram([](TarnwellProcess& p) {
        EXPECT_TRUE(p.Checked(ctl::RandOverCB));
        EXPECT_FALSE(p.Checked(ctl::IEAllCB));
        const int position = p.TrackBarPosition(ctl::TransBar);
        EXPECT_TRUE(position == 0 || position == 90) << position;
        const std::string passes = p.Text(ctl::EncryptEdit);
        EXPECT_TRUE(passes == "1" || passes == "99") << passes;
    });
    std::set<std::string> written;
    for (const std::string& line : IniSectionLines(Settings(), "Settings")) written.insert(KeyOf(line));
    for (const char* line : kDefaultLines) EXPECT_TRUE(written.count(KeyOf(line))) << line;
}

INSTANTIATE_TEST_SUITE_P(
    Contents, DamagedSettingsFile,
    ::testing::Values("", "[Settings", "[Settings]\r\nIEAllCB_Che",
                      "\x89PNG\r\n\x1a\n\x00\x01\x02\xff\xfe binary \x80\x81",
                      "[Settings]\r\nIEAllCB_Checked=maybe\r\nTransBar_Position=99999\r\nEncryptEdit_Value=-5\r\n"
                      "StealthHK_HotKey=$FFFF\r\nNSProfileCombo_Tag=zz\r\nRandOverCB_Checked=\r\n",
                      "[Settings]\r\nFormVersion=-1\r\nIEAllCB_Checked=True\r\n",
                      "[Settings]\r\nTransBar_Position=-40\r\nEncryptEdit_Value=100000\r\n"));

// A file that cannot be written at exit (here: held open without write
// sharing; read-only attributes do not stop root under Wine) keeps its
// contents, and the rest of the shut-down still runs.
TEST_F(SettingsFile, FileThatCannotBeWrittenAtExitIsLeftIntact) {
    const std::string original = "[Settings]\r\nTransBar_Position=30\r\n";
    WriteSettings(original);
    TarnwellProcess program(folder.Path());
    ASSERT_TRUE(program.WaitForMainWindow()) << program.StartState();
    EXPECT_EQ(program.TrackBarPosition(ctl::TransBar), 30);
    {
        KernelHandle lock(::CreateFileA(Settings().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(lock);
        program.EndSession();
        EXPECT_TRUE(program.WaitForExit());
    }
    EXPECT_EQ(ReadTextFile(Settings()), original);
}

}  // namespace
}  // namespace tarnwell::testing
