// The Netscape and FireFox tabs end to end: the real program, clicked as a
// user clicks, over profile folders made in the test's own folder and named
// to the program through its settings file.
#include <gtest/gtest.h>

#include <commctrl.h>

#include <tuple>

#include "app/control_table.h"
#include "tests/win32/support/message_boxes.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/tab_fixture.h"

namespace tarnwell::testing {
namespace {

const std::string kCookies =
    "# HTTP Cookie File\r\n"
    "\r\n"
    ".example.com\tTRUE\t/\tFALSE\t1893456000\tvisitor\ta1b2\r\n"
    ".ads.example.net\tTRUE\t/\tFALSE\t1893456000\tuid\t8812\r\n"
    "shop.example.org\tFALSE\t/\tFALSE\t1893456000\tcart\titem=4711\r\n";
// What a sweep keeping ".EXAMPLE.com" and "shop.example.org" leaves.
const std::string kKeptCookies =
    "# HTTP Cookie File\n"
    "\n"
    ".example.com\tTRUE\t/\tFALSE\t1893456000\tvisitor\ta1b2\n"
    "shop.example.org\tFALSE\t/\tFALSE\t1893456000\tcart\titem=4711\n";
const std::string kKeepSettings = "Count=2\r\nItem0=.EXAMPLE.com\r\nItem1=shop.example.org\r\n";

// One stored search term (its list line, and its description line with the
// name line after it) and a comment that mentions a term: three counted.
const std::string kToolbar =
    "<?xml version=\"1.0\"?>\n"
    "<RDF:Seq RDF:about=\"urn:x-netscape-toolbar:searchterms\">\n"
    "  <RDF:li RDF:resource=\"urn:x-netscape-toolbar:searchterm:cheap flights\"/>\n"
    "</RDF:Seq>\n"
    "<RDF:Description RDF:about=\"urn:x-netscape-toolbar:searchterm:cheap flights\"\n"
    "                 NC:Name=\"cheap flights\" />\n"
    "<!-- urn:x-netscape-toolbar:searchterm: stays -->\n"
    "</RDF:RDF>\n";
const std::string kToolbarSwept =
    "<?xml version=\"1.0\"?>\r\n"
    "<RDF:Seq RDF:about=\"urn:x-netscape-toolbar:searchterms\">\r\n"
    "</RDF:Seq>\r\n"
    "<!-- urn:x-netscape-toolbar:searchterm: stays -->\r\n"
    "</RDF:RDF>\r\n";

const std::string kHistoryLine = "user_pref(\"googlebar.history.1\", \"secret\");";  // 43 characters
const std::string kPrefs = "# Mozilla User Preferences\n\nuser_pref(\"browser.startup.homepage\", \"about:blank\");\n" +
                           kHistoryLine + "\n";
const std::string kPrefsSwept = "# Mozilla User Preferences\r\n\r\nuser_pref(\"browser.startup.homepage\", \"about:blank\");\r\n";

constexpr const char* kYahoo = "\\extensions\\{635abd67-4fe9-1b23-4f01-e679fa7484c1}\\cache\\";

std::string Bytes(std::size_t count, const char* unit = " bytes") { return std::to_string(count) + unit; }

class MozillaTabs : public TabTest {
protected:
    // Netscape: profile "default" below its root, holding one data folder.
    std::string NSRoot() const { return folder / "ns\\"; }
    std::string NSData() const { return NSRoot() + "default\\x8yq3kfj.slt"; }
    // FireFox: a roaming root, whose profiles keep their caches below
    // "Local Settings".
    std::string FFRoot() const { return folder / "Application Data\\Mozilla\\FireFox\\Profiles\\"; }
    std::string FFCache(const std::string& profile) const {
        return folder / ("Local Settings\\Application Data\\Mozilla\\FireFox\\Profiles\\" + profile + "\\Cache");
    }

    void PlantNetscape() {
        const std::string data = NSData();
        for (const char* name : {"\\Cache\\_CACHE_MAP_", "\\Cache\\_CACHE_001_", "\\Cache\\sub\\8E41D07Ad01"})
            ASSERT_TRUE(Write(data + name, "cache"));
        ASSERT_TRUE(Write(data + "\\history.dat", std::string(100, 'h')));
        ASSERT_TRUE(Write(data + "\\cookies.txt", kCookies));
        ASSERT_TRUE(Write(data + "\\netscapetoolbar.rdf", kToolbar));
        ASSERT_TRUE(Write(data + "\\localstore.rdf", std::string(40, 'l')));
    }
    void PlantFireFox(const std::string& profile) {
        const std::string p = FFRoot() + profile;
        for (const char* name : {"\\_CACHE_MAP_", "\\_CACHE_001_"}) ASSERT_TRUE(Write(FFCache(profile) + name, "cache"));
        const std::pair<const char*, std::size_t> whole[] = {
            {"\\history.dat", 11}, {"\\formhistory.dat", 13}, {"\\signons.txt", 17}, {"\\downloads.rdf", 19},
            {"\\ysearch-history.rdf", 3}};
        for (const auto& [name, size] : whole) ASSERT_TRUE(Write(p + name, std::string(size, 'x')));
        ASSERT_TRUE(Write(p + kYahoo + "searchHistory.xml", std::string(5, 'y')));
        ASSERT_TRUE(Write(p + kYahoo + "ysearch-history.rdf", std::string(7, 'y')));
        ASSERT_TRUE(Write(p + "\\cookies.txt", kCookies));
        ASSERT_TRUE(Write(p + "\\prefs.js", kPrefs));
    }
    static bool Write(const std::string& path, const std::string& text) {
        return MakeDirectories(path.substr(0, path.rfind('\\'))) && WriteTextFile(path, text);
    }

    std::string Settings(const std::string& more = "") const {
        return "[Settings]\r\nNSPathEdit_Text=" + NSRoot() + "\r\nFFPathEdit_Text=" + FFRoot() + "\r\n" + more;
    }
    // Starts the program and waits until the profile walk of each root the
    // test made has chosen.
    void StartAndChoose(const std::string& settings) {
        Start(settings);
        for (const auto& [root, combo] : {std::pair{NSRoot(), ctl::NSProfileCombo}, std::pair{FFRoot(), ctl::FFProfileCombo}}) {
            if (!FileExists(root)) continue;
            ASSERT_TRUE(WaitUntil([&] { return !program->Text(combo).empty(); })) << "no profile chosen in " << root;
        }
    }
    std::string ChosenFireFoxProfile() const { return FFRoot() + program->Text(ctl::FFProfileCombo); }
};

TEST_F(MozillaTabs, NetscapeAnalyzeCountsEveryItemAndChangesOnlyLineEnds) {
    PlantNetscape();
    StartAndChoose(Settings());
    EXPECT_EQ(program->Text(ctl::NSProfileCombo), "default");
    ASSERT_TRUE(ClickAndWait(ctl::NSAnalyzeBTN));
    EXPECT_EQ(Label(ctl::NSTempFiles), "4 file(s)");  // three files and a folder
    EXPECT_EQ(Label(ctl::NSHistFiles), "100 bytes");
    EXPECT_EQ(Label(ctl::NSCookFiles), Bytes(kCookies.size()));
    EXPECT_EQ(Label(ctl::NSToolBar), "3 items");
    EXPECT_EQ(Label(ctl::NSDropDown), "40 bytes");
    // Nothing is removed; the toolbar file is written back with CR LF.
    EXPECT_TRUE(FileExists(NSData() + "\\Cache\\_CACHE_MAP_"));
    EXPECT_EQ(ReadTextFile(NSData() + "\\cookies.txt"), kCookies);
    std::string crlf;
    for (char c : kToolbar) c == '\n' ? crlf += "\r\n" : crlf += c;
    EXPECT_EQ(ReadTextFile(NSData() + "\\netscapetoolbar.rdf"), crlf);
}

TEST_F(MozillaTabs, NetscapeSweepDestroysAndRewritesKeepingTheKeptCookies) {
    PlantNetscape();
    StartAndChoose(Settings("NSAllCB_Checked=True\r\n[Settings.NSDstList_Items]\r\n" + kKeepSettings));
    ASSERT_TRUE(ClickAndWait(ctl::NSSweepBTN));
    EXPECT_EQ(Label(ctl::NSTempFiles), "4 file(s) deleted.");
    EXPECT_EQ(Label(ctl::NSHistFiles), "100 bytes deleted.");
    // The count is what the file shrank by: a removed cookie and a byte per line end.
    EXPECT_EQ(Label(ctl::NSCookFiles), Bytes(kCookies.size() - kKeptCookies.size(), " bytes deleted."));
    EXPECT_EQ(Label(ctl::NSToolBar), "3 items deleted.");
    EXPECT_EQ(Label(ctl::NSDropDown), "40 bytes deleted.");
    EXPECT_FALSE(FileExists(NSData() + "\\Cache\\_CACHE_MAP_"));
    EXPECT_FALSE(FileExists(NSData() + "\\Cache\\sub\\8E41D07Ad01"));
    EXPECT_FALSE(FileExists(NSData() + "\\history.dat"));
    EXPECT_FALSE(FileExists(NSData() + "\\localstore.rdf"));
    EXPECT_EQ(ReadTextFile(NSData() + "\\cookies.txt"), kKeptCookies);
    EXPECT_FALSE(FileExists(NSData() + "\\cookies.txt.new"));
    EXPECT_EQ(ReadTextFile(NSData() + "\\netscapetoolbar.rdf"), kToolbarSwept);
    EXPECT_TRUE(program->Enabled(ctl::NSSweepBTN));
}

TEST_F(MozillaTabs, NetscapeProfileWhoseFirstEntryIsAFileHasNothingToCount) {
    ASSERT_TRUE(Write(NSRoot() + "default\\readme.txt", "not a data folder"));
    StartAndChoose(Settings());
    ASSERT_TRUE(ClickAndWait(ctl::NSAnalyzeBTN));
    EXPECT_EQ(Label(ctl::NSTempFiles), "None Found.");
    EXPECT_EQ(Label(ctl::NSHistFiles), "0 bytes");
    EXPECT_EQ(Label(ctl::NSCookFiles), "0 bytes");
    EXPECT_EQ(Label(ctl::NSToolBar), "0 items");
    EXPECT_EQ(Label(ctl::NSDropDown), "0 bytes");
}

TEST_F(MozillaTabs, FireFoxAnalyzeFindsTheCacheBelowLocalSettingsAndRewritesPrefsWithCrLf) {
    PlantFireFox("k3x9q2lm.default");
    const std::string prefs = "// one\nuser_pref(\"a\", 1);\r\nuser_pref(\"b\", 2);";
    ASSERT_TRUE(WriteTextFile(FFRoot() + "k3x9q2lm.default\\prefs.js", prefs));
    StartAndChoose(Settings());
    ASSERT_TRUE(ClickAndWait(ctl::FFAnalyzeBTN));
    EXPECT_EQ(Label(ctl::FFTempFiles), "2 file(s)");
    EXPECT_EQ(Label(ctl::FFHistFiles), "11 bytes");
    EXPECT_EQ(Label(ctl::FFFormHist), "13 bytes");
    EXPECT_EQ(Label(ctl::FFPasswords), "17 bytes");
    EXPECT_EQ(Label(ctl::FFDownMan), "19 bytes");
    EXPECT_EQ(Label(ctl::FFCookFiles), Bytes(kCookies.size()));
    EXPECT_EQ(Label(ctl::FFGBar), "0 bytes");
    EXPECT_EQ(Label(ctl::FFYBar), "15 bytes");  // three files: 3 + 5 + 7
    EXPECT_EQ(ReadTextFile(FFRoot() + "k3x9q2lm.default\\prefs.js"),
              "// one\r\nuser_pref(\"a\", 1);\r\nuser_pref(\"b\", 2);\r\n");
}

TEST_F(MozillaTabs, CookieKeeperListsTheChosenProfilesCookieDomains) {
    PlantNetscape();
    PlantFireFox("k3x9q2lm.default");
    ASSERT_TRUE(WriteTextFile(FFRoot() + "k3x9q2lm.default\\cookies.txt", "# c\n.ff.example.com\tTRUE\t/\tFALSE\t0\ta\tb\n"));
    StartAndChoose(Settings());
    for (const auto& [button, list, domains] :
         {std::tuple{ctl::NSCookKeepBTN, ctl::NSSrcList,
                     std::vector<std::string>{".ads.example.net", ".example.com", "shop.example.org"}},
          std::tuple{ctl::FFCookKeepBTN, ctl::FFSrcList, std::vector<std::string>{".ff.example.com"}}}) {
        ::PostMessageA(program->Control(button), BM_CLICK, 0, 0);
        HWND keeper = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (keeper = ShownCookieKeeper()) != nullptr; }));
        EXPECT_EQ(ListBoxItems(FindChildById(keeper, list)), domains);
        ::PostMessageA(keeper, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return ShownCookieKeeper() == nullptr; }));
    }
}

TEST_F(MozillaTabs, AStoredProfileIndexBeyondTheProfilesChoosesNone) {
    PlantFireFox("a.default");
    PlantFireFox("b.travel");
    Start(Settings("FFProfileCombo_Tag=5\r\n"));
    const HWND combo = program->Control(ctl::FFProfileCombo);
    ASSERT_TRUE(WaitUntil([&] { return ::SendMessageA(combo, CB_GETCOUNT, 0, 0) == 2; }));
    ASSERT_TRUE(program->WaitUntilPostedMessagesHandled());
    EXPECT_EQ(::SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    // Without a profile the buttons do nothing at all.
    Click(ctl::FFAnalyzeBTN);
    Click(ctl::FFSweepBTN);
    EXPECT_EQ(Label(ctl::FFHistFiles), "Unknown");
    EXPECT_EQ(Label(ctl::FFTempFiles), "Unknown");
}

// Through the tray's quick-sweep item.
TEST_F(MozillaTabs, EmptyKeepListDestroysTheWholeCookieFile) {
    PlantFireFox("k3x9q2lm.default");
    StartAndChoose(Settings("FFCookFilesCB_Checked=True\r\n"));
    PostCommand(ctl::SweepFFHistMNU);
    ASSERT_TRUE(WaitUntil([&] { return Label(ctl::FFCookFiles) != "Unknown"; }));
    ASSERT_TRUE(WaitUntilIdle(ctl::FFSweepBTN));
    EXPECT_EQ(Label(ctl::FFCookFiles), Bytes(kCookies.size(), " bytes deleted."));
    EXPECT_FALSE(FileExists(ChosenFireFoxProfile() + "\\cookies.txt"));
    EXPECT_EQ(Label(ctl::FFHistFiles), "Unknown");
    EXPECT_TRUE(FileExists(ChosenFireFoxProfile() + "\\history.dat"));
}

// A folder where the kept cookies would be written first: the cookie file
// must survive whole.
TEST_F(MozillaTabs, CookiesThatCannotBeWrittenBesideTheFileKeepTheOriginal) {
    PlantNetscape();
    ASSERT_TRUE(MakeDirectories(NSData() + "\\cookies.txt.new"));
    StartAndChoose(Settings("NSCookFilesCB_Checked=True\r\n[Settings.NSDstList_Items]\r\n" + kKeepSettings));
    ASSERT_TRUE(ClickAndWait(ctl::NSSweepBTN));
    EXPECT_EQ(Label(ctl::NSCookFiles), "0 bytes deleted.");
    EXPECT_EQ(ReadTextFile(NSData() + "\\cookies.txt"), kCookies);
}

TEST_F(MozillaTabs, PrefsHeldOpenByAnotherProgramStayByteForByte) {
    PlantFireFox("k3x9q2lm.default");
    const std::string prefs = FFRoot() + "k3x9q2lm.default\\prefs.js";
    StartAndChoose(Settings("FFGBarCB_Checked=True\r\n"));
    {
        KernelHandle held(::CreateFileA(prefs.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
        ASSERT_TRUE(ClickAndWait(ctl::FFSweepBTN));
        EXPECT_EQ(Label(ctl::FFGBar), "0 bytes deleted.");
    }
    EXPECT_EQ(ReadTextFile(prefs), kPrefs);
    EXPECT_FALSE(FileExists(prefs + ".new"));
}

TEST_F(MozillaTabs, ASweepAskedForWhileTheTabIsBusyIsIgnored) {
    PlantNetscape();
    for (int i = 0; i < 2000; ++i)
        ASSERT_TRUE(WriteTextFile(NSData() + "\\Cache\\f" + std::to_string(i), "cache entry"));
    StartAndChoose(Settings("NSTempFilesCB_Checked=True\r\n"));
    Click(ctl::NSSweepBTN);
    ASSERT_EQ(Label(ctl::NSTempFiles), "Deleting...");
    // The user ticks another item and the tray asks for a sweep again.
    Click(ctl::NSHistFilesCB);
    PostCommand(ctl::SweepNSHistMNU);
    ASSERT_TRUE(program->WaitUntilPostedMessagesHandled());
    ASSERT_EQ(Label(ctl::NSTempFiles), "Deleting...") << "the sweep ended before the second request";
    ASSERT_TRUE(WaitUntilIdle(ctl::NSSweepBTN));
    EXPECT_EQ(Label(ctl::NSTempFiles), "2004 file(s) deleted.");
    EXPECT_EQ(Label(ctl::NSHistFiles), "Unknown");
    EXPECT_TRUE(FileExists(NSData() + "\\history.dat"));
}

// The profiles root picked in the shell's folder dialog: the dialog opens
// on the current root, the test steps into its first folder. The roots lie
// outside the temporary folder, whose hidden parents the dialog's tree
// does not show.
class ProfilePathEdit : public MozillaTabs {
protected:
    void PickFirstSubfolder() {
        ASSERT_TRUE(PickInFolderPicker(program->Control(ctl::FFPathEditBTN), FirstSubfolder))
            << "the dialog did not open on the current root";
    }
    HWND Question() {
        HWND box = nullptr;
        WaitUntil([&] { return (box = MessageBoxWith("Confirm", "detected")) != nullptr; });
        return box;
    }
};

TEST_F(ProfilePathEdit, APathWithoutTheBrowsersWordAsksAndNoKeepsTheEdit) {
    const std::string root = "C:\\tw-path-edit\\roots\\";
    ASSERT_TRUE(planted.File(root + "p1\\inner\\history.dat", "1234567"));
    Start("[Settings]\r\nFFPathEdit_Text=" + root + "\r\n");
    ASSERT_TRUE(WaitUntil([&] { return program->Text(ctl::FFProfileCombo) == "p1"; }));

    PickFirstSubfolder();
    HWND question = Question();
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(BoxText(question),
              "FireFox was not detected in this path! This is extremely dangerous as you could delete files you need "
              "by mistake! Do you want to continue?");
    ::PostMessageA(question, WM_COMMAND, IDNO, 0);
    ASSERT_TRUE(WaitUntil([&] { return MessageBoxWith("Confirm", "detected") == nullptr; }));
    ASSERT_TRUE(program->WaitUntilPostedMessagesHandled());
    EXPECT_EQ(program->Text(ctl::FFPathEdit), root);
    EXPECT_EQ(program->Text(ctl::FFProfileCombo), "p1");

    // Yes: the picked folder becomes the root and its first profile is chosen.
    PickFirstSubfolder();
    question = Question();
    ASSERT_NE(question, nullptr);
    ::PostMessageA(question, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(WaitUntil([&] { return program->Text(ctl::FFProfileCombo) == "inner"; }));
    EXPECT_EQ(program->Text(ctl::FFPathEdit), root + "p1\\");
    ASSERT_TRUE(ClickAndWait(ctl::FFAnalyzeBTN));
    EXPECT_EQ(Label(ctl::FFHistFiles), "7 bytes");
}

TEST_F(ProfilePathEdit, TypedKeysNeverReachTheEdit) {
    Start("[Settings]\r\nFFPathEdit_Text=C:\\somewhere\\\r\n");
    const HWND edit = program->Control(ctl::FFPathEdit);
    for (char c : std::string("xyz")) ::PostMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 0);
    ::PostMessageA(edit, WM_KEYDOWN, VK_DELETE, 0);
    ASSERT_TRUE(program->WaitUntilPostedMessagesHandled());
    EXPECT_EQ(program->Text(ctl::FFPathEdit), "C:\\somewhere\\");
}

// Both tabs through Sweep All, in the 95 family (the kept cookies take the
// old file's place by plain renames) and the NT family.
class MozillaSweepAll : public MozillaTabs, public ::testing::WithParamInterface<const char*> {};

TEST_P(MozillaSweepAll, SweepsBothChosenProfilesAndLeavesTheOthers) {
    RunAs(GetParam());
    PlantNetscape();
    PlantFireFox("a.default");
    PlantFireFox("b.travel");
    StartAndChoose(Settings("NSAllCB_Checked=True\r\nFFAllCB_Checked=True\r\nFFProfileCombo_Tag=1\r\n"
                            "[Settings.NSDstList_Items]\r\n" + kKeepSettings + "[Settings.FFDstList_Items]\r\n" +
                            kKeepSettings));
    const std::string chosen = program->Text(ctl::FFProfileCombo);
    const std::string other = chosen == "a.default" ? "b.travel" : "a.default";
    ASSERT_TRUE(chosen == "a.default" || chosen == "b.travel") << chosen;
    ASSERT_TRUE(ClickAndWait(ctl::SweepAllBTN));
    ASSERT_TRUE(WaitUntilIdle(ctl::NSSweepBTN));
    ASSERT_TRUE(WaitUntilIdle(ctl::FFSweepBTN));

    EXPECT_EQ(Label(ctl::NSTempFiles), "4 file(s) deleted.");
    EXPECT_EQ(ReadTextFile(NSData() + "\\cookies.txt"), kKeptCookies);
    EXPECT_EQ(ReadTextFile(NSData() + "\\netscapetoolbar.rdf"), kToolbarSwept);
    EXPECT_FALSE(FileExists(NSData() + "\\history.dat"));

    const std::string p = FFRoot() + chosen;
    EXPECT_EQ(Label(ctl::FFTempFiles), "2 file(s) deleted.");
    EXPECT_EQ(Label(ctl::FFGBar), Bytes(kHistoryLine.size(), " bytes deleted."));
    EXPECT_EQ(Label(ctl::FFYBar), "15 bytes deleted.");
    EXPECT_EQ(Label(ctl::FFCookFiles), Bytes(kCookies.size() - kKeptCookies.size(), " bytes deleted."));
    EXPECT_FALSE(FileExists(FFCache(chosen) + "\\_CACHE_MAP_"));
    for (const char* name : {"\\history.dat", "\\formhistory.dat", "\\signons.txt", "\\downloads.rdf",
                             "\\ysearch-history.rdf"})
        EXPECT_FALSE(FileExists(p + name)) << name;
    EXPECT_FALSE(FileExists(p + kYahoo + "searchHistory.xml"));
    EXPECT_EQ(ReadTextFile(p + "\\cookies.txt"), kKeptCookies);
    EXPECT_EQ(ReadTextFile(p + "\\prefs.js"), kPrefsSwept);
    for (const char* side : {"\\cookies.txt.new", "\\cookies.txt.bak", "\\prefs.js.new", "\\prefs.js.bak"})
        EXPECT_FALSE(FileExists(p + side)) << side;

    // The profile not chosen is untouched.
    EXPECT_TRUE(FileExists(FFCache(other) + "\\_CACHE_MAP_"));
    EXPECT_TRUE(FileExists(FFRoot() + other + "\\history.dat"));
    EXPECT_EQ(ReadTextFile(FFRoot() + other + "\\cookies.txt"), kCookies);
    EXPECT_EQ(ReadTextFile(FFRoot() + other + "\\prefs.js"), kPrefs);
}

INSTANTIATE_TEST_SUITE_P(Families, MozillaSweepAll, ::testing::Values("win98", "winxp"));

}  // namespace
}  // namespace tarnwell::testing
