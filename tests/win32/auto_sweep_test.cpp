// Sweeps that start by themselves: when a watched browser's last window
// closes, and once after a log-on start. The real program, with browser
// windows opened and closed by this process.
#include <gtest/gtest.h>

#include "app/control_table.h"
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

    std::string cache;
    RegistryValues registry;
};

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

// A log-on start ("/autostart") with the box on: one Sweep All some
// seconds after start-up, and no other.
TEST(AutoStartSweep, OneSweepAllAfterALogOnStart) {
    TempFolder folder;
    const std::string temp = folder / "temp";
    ASSERT_TRUE(MakeDirectories(temp));
    for (const char* name : {"a.tmp", "b.tmp"}) ASSERT_TRUE(WriteTextFile(temp + "\\" + name, "x"));
    ASSERT_TRUE(WriteTextFile(folder / "settings.ini", "[Settings]\r\nWinStartCB_Checked=True\r\nTempFilesCB_Checked=True\r\n"));
    TarnwellProcess program(folder.Path(), "/autostart", {"TEMP=" + temp, "TMP=" + temp});
    ASSERT_TRUE(program.WaitForMainWindow(40000, false));
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
