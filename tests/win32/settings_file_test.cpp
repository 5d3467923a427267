// The settings file as the running program reads and writes it.
#include <gtest/gtest.h>

#include "app/control_table.h"
#include "tests/win32/support/tarnwell_process.h"

namespace tarnwell::testing {
namespace {

constexpr const char* kIeItems[] = {"IETempFilesCB", "IEHistFilesCB", "IECookFilesCB", "IEDropDownCB", "IEAutoCB",
                                    "IEIndexCB",     "IEGoogleCB",    "IEYahooCB",     "IEToolBarCB"};

std::string KeyOf(const ControlDecl& decl) {
    return std::string(decl.name) + "_" + std::string(PropertyName(StoredPropertyOf(decl)));
}

int Id(const char* name) { return FindControl(name)->id; }

class SettingsFile : public ::testing::Test {
protected:
    std::string Settings() const { return folder / "settings.ini"; }
    void WriteSettings(const std::string& text) const { ASSERT_TRUE(WriteTextFile(Settings(), text)); }

    // Starts the program, lets `look` inspect it, then ends the session.
    template <typename Look>
    void RunProgram(Look look) {
        TarnwellProcess program(folder.Path());
        ASSERT_TRUE(program.WaitForMainWindow());
        look(program);
        program.EndSession();
        ASSERT_TRUE(program.WaitForExit());
    }

    TempFolder folder;
};

TEST_F(SettingsFile, SaveWritesEveryStoredPropertyInListOrderAndKeepsOtherData) {
    WriteSettings("[Other]\r\nKeep=me\r\n[Settings]\r\nUnknownKey=42\r\n");
    RunProgram([](TarnwellProcess&) {});

    const auto lines = IniSectionLines(Settings(), "Settings");
    ASSERT_EQ(lines.size(), 2u + kStoredPropertyCount);
    EXPECT_EQ(lines[0], "UnknownKey=42");
    EXPECT_EQ(lines[1], "FormVersion=0");
    const auto stored = StoredControls();
    for (int i = 0; i < kStoredPropertyCount; ++i)
        EXPECT_EQ(lines[2 + i], KeyOf(*stored[i]) + "=" + std::string(stored[i]->initial)) << "place " << i + 1;
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
    const auto lines = IniSectionLines(Settings(), "Settings");
    int stored = 0;
    for (const ControlDecl* decl : StoredControls())
        for (const std::string& line : lines) stored += line.rfind(KeyOf(*decl) + "=", 0) == 0;
    EXPECT_EQ(stored, kStoredPropertyCount);
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
    ASSERT_TRUE(program.WaitForMainWindow());
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
