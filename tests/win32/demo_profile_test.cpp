// The browser tabs and the Media Players tab on the demo profile's traces, as a user of
// the demo sees them: run by run_test.sh --demo in a freshly seeded prefix,
// once as Windows 98 and once as Windows XP.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>

#include "app/control_table.h"
#include "app/registry_win.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/tab_fixture.h"

namespace tarnwell::testing {
namespace {

DWORD SizeOf(const std::string& file) {
    KernelHandle handle(::CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    return ::GetFileSize(handle.get(), nullptr);
}

std::string SizeLabel(const std::string& file) { return std::to_string(SizeOf(file)) + " bytes"; }

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class DemoProfile : public TabTest {};

TEST_F(DemoProfile, BrowserTabsAnalyzeAndSweepTheDemoTraces) {
    const char* version = std::getenv("TARNWELL_DEMO_VERSION");
    if (!version) GTEST_SKIP() << "runs in a freshly seeded demo prefix only (run_test.sh --demo)";
    RunAs(version);
    // The profiles lie where Windows XP keeps them; on Windows 98 the user
    // names the folders on the Settings tab.
    const std::string appData = std::string(std::getenv("USERPROFILE")) + "\\Application Data\\";
    const std::string nsRoot = appData + "Mozilla\\Profiles\\", ffRoot = appData + "Mozilla\\FireFox\\Profiles\\";
    const std::string opera = appData + "Opera\\Opera\\profile\\";
    Start("[Settings]\r\nNSPathEdit_Text=" + nsRoot + "\r\nFFPathEdit_Text=" + ffRoot + "\r\nOPPathEdit_Text=" + opera +
          "\r\nNSAllCB_Checked=True\r\nFFAllCB_Checked=True\r\nOPAllCB_Checked=True\r\nAOLAllCB_Checked=True\r\nMPAllCB_Checked=True\r\n");
    TarnwellProcess& program = *this->program;
    ASSERT_TRUE(WaitUntil([&] { return !program.Text(ctl::NSProfileCombo).empty(); }));
    ASSERT_TRUE(WaitUntil([&] { return !program.Text(ctl::FFProfileCombo).empty(); }));
    ASSERT_TRUE(WaitUntil([&] { return !program.Text(ctl::AOLProfileCombo).empty(); }));
    const std::string nsProfile = program.Text(ctl::NSProfileCombo);
    const std::string data = nsRoot + nsProfile + (nsProfile == "default" ? "\\x8yq3kfj.slt" : "\\m2n5c8rt.slt");
    const std::string ff = ffRoot + program.Text(ctl::FFProfileCombo);

    program.Click(ctl::NSAnalyzeBTN);
    ASSERT_TRUE(program.WaitUntilEnabled(ctl::NSAnalyzeBTN));
    EXPECT_EQ(program.Text(ctl::NSTempFiles), "6 file(s)");
    EXPECT_EQ(program.Text(ctl::NSHistFiles), SizeLabel(data + "\\history.dat"));
    EXPECT_EQ(program.Text(ctl::NSCookFiles), SizeLabel(data + "\\cookies.txt"));
    EXPECT_EQ(program.Text(ctl::NSToolBar), "6 items");  // three terms, each listed and described
    EXPECT_EQ(program.Text(ctl::NSDropDown), SizeLabel(data + "\\localstore.rdf"));

    program.Click(ctl::FFAnalyzeBTN);
    ASSERT_TRUE(program.WaitUntilEnabled(ctl::FFAnalyzeBTN));
    EXPECT_EQ(program.Text(ctl::FFTempFiles), "6 file(s)");
    EXPECT_EQ(program.Text(ctl::FFHistFiles), SizeLabel(ff + "\\history.dat"));
    EXPECT_EQ(program.Text(ctl::FFFormHist), SizeLabel(ff + "\\formhistory.dat"));
    EXPECT_EQ(program.Text(ctl::FFCookFiles), SizeLabel(ff + "\\cookies.txt"));
    EXPECT_EQ(program.Text(ctl::FFPasswords), SizeLabel(ff + "\\signons.txt"));
    EXPECT_EQ(program.Text(ctl::FFDownMan), SizeLabel(ff + "\\downloads.rdf"));
    // The two toolbars' history lines, the limit line included (any case).
    const std::string history[] = {
        "user_pref(\"google.toolbar.search_box_history\", \"cheap flights to boston\\nspringfield weather\\n"
        "chocolate cake recipe\");",
        "user_pref(\"googlebar.history\", \"used car prices|example widgets review\");",
        "user_pref(\"GoogleBar.History.MaxItems\", 20);"};
    EXPECT_EQ(program.Text(ctl::FFGBar),
              std::to_string(history[0].size() + history[1].size() + history[2].size()) + " bytes");
    EXPECT_NE(program.Text(ctl::FFYBar), "0 bytes");

    program.Click(ctl::OPAnalyzeBTN);
    ASSERT_TRUE(program.WaitUntilEnabled(ctl::OPAnalyzeBTN));
    EXPECT_EQ(program.Text(ctl::OPTempFiles), "4 file(s)");
    EXPECT_EQ(program.Text(ctl::OPCookFiles), SizeLabel(opera + "cookies4.dat"));
    EXPECT_EQ(program.Text(ctl::OPSession), SizeLabel(opera + "sessions\\autosave.win"));
    EXPECT_NE(program.Text(ctl::OPHistFiles), "0 bytes");

    // AOL, found through the shared application data folder.
    const std::string organize = program.Text(ctl::AOLPathEdit);
    const std::string user = organize + program.Text(ctl::AOLProfileCombo);
    ASSERT_TRUE(EndsWith(organize, "\\AOL\\C_America Online 9.0\\organize\\")) << organize;
    program.Click(ctl::AOLAnalyzeBTN);
    ASSERT_TRUE(program.WaitUntilEnabled(ctl::AOLAnalyzeBTN));
    EXPECT_EQ(program.Text(ctl::AOLTempFiles), "4 file(s)");
    const DWORD addresses = SizeOf(user + ".AUT") + SizeOf(user + "1.AUT") + SizeOf(user + ".ARL") + SizeOf(user + "1.ARL");
    EXPECT_EQ(program.Text(ctl::AOLDropDown), std::to_string(addresses) + " byte(s)");
    EXPECT_NE(program.Text(ctl::AOLToolbar), "0 item(s)");
    EXPECT_NE(program.Text(ctl::AOLDeskbar), "0 item(s)");

    // The media players; the Flash Player folder lies in the profile of
    // Windows XP, which Windows 98 does not look in.
    const bool xp = std::string(version) == "winxp";
    const std::string quickTime = appData + "Apple Computer\\QuickTime\\QuickTimeFavorites.qtr";
    const std::string flash = appData + "Macromedia\\Flash Player\\";
    program.Click(ctl::MPAnalyzeBTN);
    ASSERT_TRUE(WaitUntil([&] {
        return program.Text(ctl::FlashSO) != "Analyzing..." && program.Text(ctl::Shockwave) != "Analyzing...";
    }));
    EXPECT_EQ(program.Text(ctl::QTRecentFiles), SizeLabel(quickTime));
    EXPECT_EQ(program.Text(ctl::RPRecentFiles), "4 item(s)");
    EXPECT_EQ(program.Text(ctl::WMPRecentFiles), "5 item(s)");
    EXPECT_EQ(program.Text(ctl::FlashSO), xp ? "22 file(s)" : "Not Found.");
    EXPECT_EQ(program.Text(ctl::Shockwave), xp ? "2 file(s)" : "Not Found.");

    program.Click(ctl::SweepAllBTN);
    ASSERT_TRUE(program.WaitUntilEnabled(ctl::NSSweepBTN));
    ASSERT_TRUE(program.WaitUntilEnabled(ctl::FFSweepBTN));
    ASSERT_TRUE(program.WaitUntilEnabled(ctl::OPSweepBTN));
    ASSERT_TRUE(program.WaitUntilEnabled(ctl::AOLSweepBTN));
    ASSERT_TRUE(program.WaitUntilEnabled(ctl::MPSweepBTN));
    EXPECT_EQ(program.Text(ctl::NSTempFiles), "6 file(s) deleted.");
    EXPECT_EQ(program.Text(ctl::NSToolBar), "6 items deleted.");
    EXPECT_EQ(program.Text(ctl::FFTempFiles), "6 file(s) deleted.");
    EXPECT_EQ(EntriesBelow(data + "\\Cache"), 0);
    for (const char* name : {"\\history.dat", "\\cookies.txt", "\\localstore.rdf"})
        EXPECT_FALSE(FileExists(data + name)) << name;
    EXPECT_EQ(ReadTextFile(data + "\\netscapetoolbar.rdf").find("searchterm:"), std::string::npos);
    EXPECT_NE(ReadTextFile(data + "\\netscapetoolbar.rdf").find("urn:x-netscape-toolbar:settings"), std::string::npos);
    for (const char* name : {"\\history.dat", "\\formhistory.dat", "\\cookies.txt", "\\signons.txt", "\\downloads.rdf",
                             "\\ysearch-history.rdf"})
        EXPECT_FALSE(FileExists(ff + name)) << name;
    const std::string prefs = ReadTextFile(ff + "\\prefs.js");
    for (const std::string& line : history) EXPECT_EQ(prefs.find(line), std::string::npos) << line;
    EXPECT_NE(prefs.find("user_pref(\"toolbar.google.search_box_history\""), std::string::npos);
    EXPECT_NE(prefs.find("user_pref(\"browser.startup.homepage\", \"http://www.example.com/\");\r\n"),
              std::string::npos);

    EXPECT_EQ(program.Text(ctl::OPTempFiles), "4 file(s) deleted.");
    for (const char* name : {"global.dat", "dhistory.dat", "vlink4.dat", "bhistory.dat", "cookies4.dat",
                             "sessions\\autosave.win"})
        EXPECT_FALSE(FileExists(opera + name)) << name;
    EXPECT_TRUE(FileExists(opera + "opera6.ini"));
    EXPECT_TRUE(FileExists(opera + "opera6.adr"));

    EXPECT_EQ(program.Text(ctl::AOLTempFiles), "4 file(s) deleted.");
    EXPECT_EQ(program.Text(ctl::AOLDropDown), std::to_string(addresses) + " byte(s) deleted.");
    for (const char* suffix : {".AUT", "1.AUT", ".ARL", "1.ARL"}) EXPECT_FALSE(FileExists(user + suffix)) << suffix;
    EXPECT_TRUE(EndsWith(program.Text(ctl::AOLToolbar), " item(s) deleted.")) << program.Text(ctl::AOLToolbar);
    EXPECT_TRUE(EndsWith(program.Text(ctl::AOLCookFiles), " file(s) deleted.")) << program.Text(ctl::AOLCookFiles);
    EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, "Software\\BestToolbars\\IEToolbar\\HistorySearchCombo", "0"));
    EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, "Software\\AOL\\Deskbar\\HistorySearchCombo", "1"));

    EXPECT_FALSE(FileExists(quickTime));
    EXPECT_EQ(program.Text(ctl::RPRecentFiles), "4 item(s) deleted.");
    EXPECT_EQ(program.Text(ctl::WMPRecentFiles), "5 item(s) deleted.");
    if (xp) {
        EXPECT_EQ(program.Text(ctl::FlashSO), "Files deleted.");
        EXPECT_FALSE(FileExists(flash + "#SharedObjects\\K7QW3ZPA\\www.example.com"));
        EXPECT_FALSE(FileExists(flash + "macromedia.com"));
        EXPECT_TRUE(FileExists(flash + "#SharedObjects\\K7QW3ZPA"));
        EXPECT_EQ(program.Text(ctl::Shockwave), "2 file(s) deleted.");
    }
}

// A folder of definitions of the repository, named by an environment
// variable (copied into the prefix by the runner).
std::string DefinitionFolder(const char* variable) {
    const std::string path = std::getenv(variable) ? std::getenv(variable) : "";
    return path.empty() ? path : path + "\\";
}

std::vector<std::string> Sorted(std::vector<std::string> items) {
    std::sort(items.begin(), items.end());
    return items;
}

// Every shipped definition passes the safety check and finds the demo's
// traces of its application; a sweep leaves the folders, empty, and what
// the definitions do not name.
TEST_F(DemoProfile, ShippedPluginsAnalyzeAndSweepTheirTraces) {
    const char* version = std::getenv("TARNWELL_DEMO_VERSION");
    if (!version) GTEST_SKIP() << "runs in a freshly seeded demo prefix only (run_test.sh --demo)";
    RunAs(version);
    // The shipped definitions and the demo application's.
    const std::string shipped = DefinitionFolder("TARNWELL_SHIPPED_PLUGINS");
    const std::string demo = DefinitionFolder("TARNWELL_DEMO_PLUGINS");
    ASSERT_FALSE(shipped.empty() || demo.empty());
    ASSERT_TRUE(MakeDirectories(folder / "plugins"));
    for (const char* name : {"Example definition.ini", "Firefox caches.ini", "Google Chrome.ini", "Microsoft Edge.ini"})
        ASSERT_TRUE(::CopyFileA((shipped + name).c_str(), (folder / "plugins\\" + name).c_str(), TRUE)) << name;
    ASSERT_TRUE(::CopyFileA((demo + "Quillpad.ini").c_str(), (folder / "plugins\\Quillpad.ini").c_str(), TRUE));
    Start("[Settings]\r\nPAllCB_Checked=True\r\n");
    TarnwellProcess& program = *this->program;
    HWND names = program.Control(ctl::CBList);
    ASSERT_EQ(Sorted(ListBoxItems(names)), (std::vector<std::string>{"Example definition.ini", "Firefox caches.ini",
                                                                     "Google Chrome.ini", "Microsoft Edge.ini",
                                                                     "Quillpad.ini"}));
    const auto risks = [&] {
        std::map<std::string, std::string> byName;
        const std::vector<std::string> rows = ListBoxItems(names), texts = ListBoxItems(program.Control(ctl::PlugStatusBox));
        for (size_t i = 0; i < rows.size() && i < texts.size(); ++i) byName[rows[i]] = texts[i];
        return byName;
    };
    // A definition with several folders shows the count of the walk that
    // ended last.
    const auto oneOf = [](const std::string& text, std::initializer_list<const char*> counts, const char* tail) {
        for (const char* count : counts)
            if (text == "Risk: " + std::string(count) + tail) return true;
        return false;
    };

    program.Click(ctl::PIAnalyzeBTN);
    ASSERT_TRUE(program.WaitUntilEnabled(ctl::PIAnalyzeBTN));
    auto found = risks();
    EXPECT_EQ(found["Quillpad.ini"], "Risk: 4 file(s)");  // three drafts and a folder
    EXPECT_EQ(found["Firefox caches.ini"], "Risk: 7 file(s)");
    EXPECT_TRUE(oneOf(found["Google Chrome.ini"], {"4", "2", "1"}, " file(s)")) << found["Google Chrome.ini"];
    EXPECT_TRUE(oneOf(found["Microsoft Edge.ini"], {"4", "2", "1"}, " file(s)")) << found["Microsoft Edge.ini"];
    EXPECT_EQ(found["Example definition.ini"], "Risk: Item(s) detected.");

    program.Click(ctl::PISweepBTN);
    ASSERT_TRUE(program.WaitUntilEnabled(ctl::PIAnalyzeBTN));
    found = risks();
    // Sweeping lets messages run, so the drafts' walk may end before the
    // registry entries that started after it.
    EXPECT_TRUE(found["Quillpad.ini"] == "Risk: 4 file(s) deleted." || found["Quillpad.ini"] == "Risk: Item(s) deleted.")
        << found["Quillpad.ini"];
    EXPECT_EQ(found["Firefox caches.ini"], "Risk: 7 file(s) deleted.");
    EXPECT_TRUE(oneOf(found["Google Chrome.ini"], {"4", "2", "1"}, " file(s) deleted.")) << found["Google Chrome.ini"];
    EXPECT_EQ(found["Example definition.ini"], "Risk: Item(s) deleted.");
    const std::string local = std::string(std::getenv("USERPROFILE")) + "\\AppData\\Local\\";
    for (const char* browser : {"Google\\Chrome\\User Data\\Default\\", "Microsoft\\Edge\\User Data\\Default\\"}) {
        for (const char* cache : {"Cache", "Code Cache", "GPUCache"})
            EXPECT_EQ(EntriesBelow(local + browser + cache), 0) << browser << cache;
        EXPECT_TRUE(FileExists(local + browser + "Bookmarks")) << browser;
    }
    EXPECT_EQ(EntriesBelow(local + "Mozilla\\Firefox\\Profiles"), 0);
    EXPECT_EQ(EntriesBelow("C:\\Program Files\\Quillpad\\Autosave"), 0);
    EXPECT_FALSE(FileExists("C:\\Program Files\\Quillpad\\recent.lst"));
    EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, "Software\\Quillpad\\Settings", "LastFile"));
}

}  // namespace
}  // namespace tarnwell::testing
