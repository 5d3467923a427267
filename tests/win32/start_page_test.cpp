// The Internet Explorer start page at exit: what the user had when
// Tarnwell started comes back, unless protection is off or nothing was
// saved.
#include <gtest/gtest.h>

#include "app/registry_win.h"
#include "tests/win32/support/registry_values.h"
#include "tests/win32/support/tarnwell_process.h"

namespace tarnwell::testing {
namespace {

const char* kIEMain = "Software\\Microsoft\\Internet Explorer\\Main";

class StartPage : public ::testing::Test {
protected:
    // Starts the program with `settings`, changes the start page while it
    // runs, as a web site would, and ends it as a log-off does.
    void RunAndHijack(const std::string& settings) {
        ASSERT_TRUE(WriteTextFile(folder / "settings.ini", settings));
        TarnwellProcess program(folder.Path());
        ASSERT_TRUE(program.WaitForMainWindow()) << program.StartState();
        registry.Set(HKEY_CURRENT_USER, kIEMain, "Start Page", "http://hijack.example/");
        program.EndSession();
        ASSERT_TRUE(program.WaitForExit());
    }
    std::optional<std::string> Current() const { return ReadRegistryString(HKEY_CURRENT_USER, kIEMain, "Start Page"); }

    TempFolder folder;
    RegistryValues registry;
};

TEST_F(StartPage, ChangedPageIsPutBackAtExit) {
    registry.Set(HKEY_CURRENT_USER, kIEMain, "Start Page", "http://saved.example/");
    RunAndHijack("[Settings]\r\n");  // protection is on by default
    EXPECT_EQ(Current(), "http://saved.example/");
}

TEST_F(StartPage, WithProtectionOffTheChangeStays) {
    registry.Set(HKEY_CURRENT_USER, kIEMain, "Start Page", "http://saved.example/");
    RunAndHijack("[Settings]\r\nProtectCB_Checked=False\r\n");
    EXPECT_EQ(Current(), "http://hijack.example/");
}

TEST_F(StartPage, NothingSavedWritesNothing) {
    registry.Set(HKEY_CURRENT_USER, kIEMain, "Start Page", "");
    RunAndHijack("[Settings]\r\n");
    EXPECT_EQ(Current(), "http://hijack.example/");
}

}  // namespace
}  // namespace tarnwell::testing
