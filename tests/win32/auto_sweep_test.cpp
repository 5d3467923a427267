// Sweeps that start by themselves: when a watched browser's last window
// closes, and once after a log-on start. The real program, with browser
// windows opened and closed by this process.
#include <gtest/gtest.h>

#include "app/control_table.h"
#include "tests/win32/support/debug_output.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/registry_values.h"
#include "tests/win32/support/tab_fixture.h"
#include "tests/win32/support/top_level_window.h"

namespace tarnwell::testing {
namespace {

const char* kUserShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

class AutoSweep : public TabTest {
protected:
    // Files in the browser's cache folder (read from the shell folders in
    // 98 mode), which its sweep destroys.
    void PlantCache() {
        RunAs("win98");
        cache = folder / "cache";
        for (const char* name : {"a.htm", "b.gif", "c.js"}) ASSERT_TRUE(planted.File(cache + "\\" + name)) << name;
        registry.Set(HKEY_CURRENT_USER, kUserShellFolders, "Cache", cache);
    }

    // Lets the watch see the windows open for at least one of its ticks
    // (every five seconds).
    static void LetTheWatchSeeThem() { ASSERT_FALSE(PumpUntil([] { return false; }, 6000)); }

    std::string cache;
    RegistryValues registry;
};

// The sweeps and notices the program reported, in order, from line `from`.
std::vector<std::string> SweepsAndNotices(const DebugOutputWatch& watch, size_t from = 0) {
    std::vector<std::string> events;
    const std::vector<std::string> lines = watch.Lines();
    for (size_t i = from; i < lines.size(); ++i)
        if (lines[i].starts_with("Tarnwell: sweep ") || lines[i].starts_with("Tarnwell: balloon tip"))
            events.push_back(lines[i].substr(lines[i].find(' ') + 1));
    return events;
}

TEST_F(AutoSweep, ClosingTheLastBrowserWindowSweepsItsHistoryOnce) {
    PlantCache();
    TopLevelWindow ie("IEFrame", "Home - Browser", false);
    Start("[Settings]\r\nAutoCloseSweepCB_Checked=True\r\nIETempFilesCB_Checked=True\r\n");
    // Open across at least one tick of the watch (every five seconds).
    ASSERT_FALSE(PumpUntil([] { return false; }, 6000));
    ie.Close();
    EXPECT_TRUE(PumpUntil([&] { return Label(ctl::IETempFiles) == "3 file(s) deleted."; }, 20000))
        << Label(ctl::IETempFiles);
    EXPECT_FALSE(FileExists(cache + "\\a.htm"));
    // Later ticks, with the browser still closed, sweep nothing more.
    ASSERT_TRUE(planted.File(cache + "\\later.htm"));
    EXPECT_FALSE(PumpUntil([&] { return !FileExists(cache + "\\later.htm"); }, 11000));
}

TEST_F(AutoSweep, WithTheBoxOffClosingABrowserSweepsNothing) {
    PlantCache();
    TopLevelWindow ie("IEFrame", "Home - Browser", false);
    Start("[Settings]\r\nIETempFilesCB_Checked=True\r\n");
    ASSERT_FALSE(PumpUntil([] { return false; }, 6000));
    ie.Close();
    EXPECT_FALSE(PumpUntil([&] { return !FileExists(cache + "\\a.htm"); }, 11000));
    EXPECT_EQ(Label(ctl::IETempFiles), "Unknown");
}

// Each browser is judged on its own; a Mozilla window titled "Netscape"
// counts for Netscape and FireFox both. The categories of these browsers
// report their sweep to a debugger.
TEST_F(AutoSweep, EachClosedBrowserIsSweptOnceWithTheMediaPlayersAfterThem) {
    RunAs("winxp");
    TopLevelWindow opera("OpWindow", "Start - Opera", false);
    TopLevelWindow aol("AOL Frame25", "AOL", false);
    TopLevelWindow netscape("MozillaWindowClass", "Welcome - Netscape", false);
    Start("[Settings]\r\nAutoCloseSweepCB_Checked=True\r\n");
    DebugOutputWatch watch(program->ProcessId());
    ASSERT_TRUE(watch.Attached());
    LetTheWatchSeeThem();

    // Opera and AOL closed within one tick: one notice, both sweeps, then
    // the media players once.
    opera.Close();
    aol.Close();
    ASSERT_TRUE(watch.WaitFor("Tarnwell: sweep Media Players", 1, 15000));
    const std::vector<std::string> first = SweepsAndNotices(watch);
    ASSERT_EQ(first.size(), 4u) << ::testing::PrintToString(first);
    EXPECT_TRUE(first[0].starts_with("balloon tip \"Tarnwell: Sweeping History...\"")) << first[0];
    EXPECT_EQ(std::vector<std::string>(first.begin() + 1, first.end()),
              (std::vector<std::string>{"sweep Opera", "sweep AOL", "sweep Media Players"}));

    netscape.Close();
    ASSERT_TRUE(watch.WaitFor("Tarnwell: sweep Media Players", 2, 15000));
    const std::vector<std::string> second = SweepsAndNotices(watch);
    ASSERT_EQ(second.size(), 8u) << ::testing::PrintToString(second);
    EXPECT_EQ(std::vector<std::string>(second.begin() + 5, second.end()),
              (std::vector<std::string>{"sweep Netscape", "sweep FireFox", "sweep Media Players"}));
    // Nothing more while they stay closed.
    EXPECT_FALSE(PumpUntil([&] { return SweepsAndNotices(watch).size() > 8; }, 11000));
}

// A tick that finds the browser closed while its category is still busy
// (here with the user's own sweep, which overwrites five thousand files)
// starts no second sweep over the running one: the one walk counts every
// file once. The ticks' rhythm is read from a first sweep (Opera's), so
// that the user's sweep starts a second before the next tick.
TEST_F(AutoSweep, ATickDuringARunningSweepStartsNoSecondOne) {
    RunAs("win98");
    cache = folder / "cache";
    for (int f = 0; f < 50; ++f)
        for (int i = 0; i < 100; ++i)
            ASSERT_TRUE(planted.File(cache + "\\d" + std::to_string(f) + "\\f" + std::to_string(i) + ".htm"));
    registry.Set(HKEY_CURRENT_USER, kUserShellFolders, "Cache", cache);
    TopLevelWindow ie("IEFrame", "Home - Browser", false);
    TopLevelWindow opera("OpWindow", "Start - Opera", false);
    Start("[Settings]\r\nAutoCloseSweepCB_Checked=True\r\nIETempFilesCB_Checked=True\r\n");
    DebugOutputWatch watch(program->ProcessId());
    ASSERT_TRUE(watch.Attached());
    LetTheWatchSeeThem();

    opera.Close();
    ASSERT_TRUE(watch.WaitFor("Tarnwell: sweep Opera", 1, 15000));
    ASSERT_FALSE(PumpUntil([] { return false; }, 4000));
    Click(ctl::IESweepBTN);
    ie.Close();
    ASSERT_TRUE(watch.WaitFor("Tarnwell: sweep Internet Explorer", 2, 15000));
    ASSERT_EQ(Label(ctl::IETempFiles), "Deleting...") << "the sweep ended before the tick (then plant more files), or the tick's sweep took its place";
    ASSERT_TRUE(WaitUntilIdle(ctl::IEAnalyzeBTN));
    EXPECT_EQ(Label(ctl::IETempFiles), "5050 file(s) deleted.");
    EXPECT_FALSE(FileExists(cache + "\\d0\\f0.htm"));
    EXPECT_FALSE(FileExists(cache + "\\d49\\f99.htm"));
}

// A log-on start ("/autostart") with the box on: one Sweep All some
// seconds after start-up, and no other.
TEST(AutoStartSweep, OneSweepAllAfterALogOnStart) {
    TempFolder folder;
    const std::string temp = folder / "temp";
    ASSERT_TRUE(MakeDirectories(temp));
    for (const char* name : {"a.tmp", "b.tmp"}) ASSERT_TRUE(WriteTextFile(temp + "\\" + name, "x"));
    ASSERT_TRUE(WriteTextFile(folder / "settings.ini", "[Settings]\r\nWinStartCB_Checked=True\r\nTempFilesCB_Checked=True\r\n"));
    TarnwellProcess program(folder.Path(), "/autostart", {"TEMP=" + temp, "TMP=" + temp});
    ASSERT_TRUE(program.WaitForMainWindow(40000, false)) << program.StartState();
    EXPECT_TRUE(WaitUntil([&] { return EntriesBelow(temp) == 0; }, 40000));
    // Sweep All sweeps the Windows tab twice; the second found nothing left.
    EXPECT_TRUE(WaitUntil([&] { return program.Text(ctl::TempFiles) == "0 file(s) deleted."; }, 20000))
        << program.Text(ctl::TempFiles);
    ASSERT_TRUE(WriteTextFile(temp + "\\later.tmp", "x"));
    EXPECT_FALSE(WaitUntil([&] { return !FileExists(temp + "\\later.tmp"); }, 11000));
    program.EndSession();
    ASSERT_TRUE(program.WaitForExit());
}

}  // namespace
}  // namespace tarnwell::testing
