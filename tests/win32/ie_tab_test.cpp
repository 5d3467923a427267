// The Internet Explorer tab end to end: the real program over files in the
// prefix's own cache, history and cookie folders and the lists the
// browser keeps in the registry.
#include <gtest/gtest.h>

#include <algorithm>

#include <optional>

#include "app/control_table.h"
#include "app/known_locations.h"
#include "app/path_macros.h"
#include "app/registry_win.h"
#include "app/system_info_win.h"
#include "engine/registry_cleaner.h"
#include "tests/win32/support/debug_output.h"
#include "tests/win32/support/registry_values.h"
#include "tests/win32/support/item_details.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/tab_fixture.h"

#include <wininet.h>

namespace tarnwell::testing {
namespace {

const std::string kTypedUrls = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
const std::string kMsnToolBar = "Software\\Microsoft\\MSN ToolBar";
const std::string kIntelliForms = "Software\\Microsoft\\Internet Explorer\\IntelliForms\\SPW";
const char* kCachedUrl = "http://tarnwell.example/cached-page";
const char* kGoneCookie = "user@gone.example[1].txt";
const char* kKeptCookie = "user@kept.example[1].txt";

bool CacheEntryExists(const char* url) {
    char buffer[8192];
    DWORD size = sizeof buffer;
    return ::GetUrlCacheEntryInfoA(url, reinterpret_cast<LPINTERNET_CACHE_ENTRY_INFOA>(buffer), &size) != FALSE;
}

// Changes to the names and contents of one folder, as the file system
// reports them, from the moment of construction until Stop.
class FolderWatch {
public:
    struct Change {
        DWORD action;
        std::string name;
    };

    explicit FolderWatch(std::string folder)
        : folder_(std::move(folder)),
          armed_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          completed_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        folderHandle_.reset(::CreateFileA(folder_.c_str(), FILE_LIST_DIRECTORY,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
        thread_.reset(::CreateThread(nullptr, 0, WatchThread, this, 0, nullptr));
        // The first read is under way before anything else happens: the
        // thread says so once the system has taken it.
        const HANDLE either[] = {armed_.get(), thread_.get()};
        armed = ::WaitForMultipleObjects(2, either, FALSE, 10000) == WAIT_OBJECT_0;
    }
    ~FolderWatch() { Stop(); }

    bool armed = false;  // the watch was in place when construction ended

    // Changes reach the watch in the order they happen: once the wake-up
    // file's removal has arrived, so has everything before it.
    std::vector<Change> Stop() {
        if (thread_) {
            const std::string wake = folder_ + "\\" + kWakeName;
            EXPECT_TRUE(WriteTextFile(wake, ""));
            ::DeleteFileA(wake.c_str());
            EXPECT_EQ(::WaitForSingleObject(thread_.get(), 20000), WAIT_OBJECT_0) << "the watch never saw its end";
            ::CancelIo(folderHandle_.get());
            thread_.reset();
        }
        return changes_;
    }

private:
    static constexpr const char* kWakeName = "tw-watch-wake";

    static DWORD WINAPI WatchThread(void* self) {
        static_cast<FolderWatch*>(self)->Watch();
        return 0;
    }
    void Watch() {
        alignas(DWORD) static char buffer[65536];
        const DWORD filter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;
        for (;;) {
            OVERLAPPED read{};
            read.hEvent = completed_.get();
            ::ResetEvent(completed_.get());
            if (!::ReadDirectoryChangesW(folderHandle_.get(), buffer, sizeof buffer, FALSE, filter, nullptr, &read,
                                         nullptr))
                return;
            ::SetEvent(armed_.get());
            DWORD size = 0;
            if (!::GetOverlappedResult(folderHandle_.get(), &read, &size, TRUE)) return;
            if (Record(buffer, size)) return;
        }
    }
    // Keeps the changes of one read; true when the wake-up file went.
    bool Record(const char* buffer, DWORD size) {
        bool woken = false;
        for (DWORD offset = 0; size != 0;) {
            const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer + offset);
            char name[MAX_PATH] = {};
            ::WideCharToMultiByte(CP_ACP, 0, info->FileName, static_cast<int>(info->FileNameLength / 2), name,
                                  sizeof name - 1, nullptr, nullptr);
            if (std::string(name) != kWakeName) changes_.push_back({info->Action, name});
            else if (info->Action == FILE_ACTION_REMOVED) woken = true;
            if (!info->NextEntryOffset) break;
            offset += info->NextEntryOffset;
        }
        return woken;
    }

    std::string folder_;
    KernelHandle folderHandle_;
    KernelHandle armed_, completed_;
    KernelHandle thread_;
    std::vector<Change> changes_;
};

bool Saw(const std::vector<FolderWatch::Change>& changes, DWORD action, const std::string& name) {
    for (const auto& change : changes)
        if (change.action == action && change.name == name) return true;
    return false;
}

class IETab : public TabTest {
protected:
    void SetUp() override {
        const KnownLocations locations = DiscoverKnownLocations(DetectOsFlags(), "C:\\");
        cache = WithoutTrailingBackslash(locations.IECacheDir);
        history = WithoutTrailingBackslash(locations.IEHistoryDir);
        cookies = WithoutTrailingBackslash(locations.CookieDir);
        for (const std::string* each : {&cache, &history, &cookies}) ASSERT_FALSE(each->empty());
        // The sweep under test empties these folders and counts what it
        // finds there: they must hold nothing of anyone else's.
        ASSERT_EQ(EntriesBelow(history), 0) << history;
        ASSERT_EQ(EntriesBelow(cookies), 0) << cookies;
        // The program's own run may add index files there; those go too.
        for (const std::string* each : {&history, &cookies}) planted.WatchForNewEntries(*each);
        for (const std::string* each : {&cache, &history, &cookies})
            ASSERT_TRUE(planted.File(*each + "\\desktop.ini", "[.ShellClassInfo]")) << *each;
        ASSERT_TRUE(planted.File(cache + "\\page.htm", "<html>"));
        ASSERT_TRUE(planted.File(cache + "\\sub\\logo.gif", "GIF89a"));
        ASSERT_TRUE(planted.File(history + "\\visited.url", "[InternetShortcut]"));
        ASSERT_TRUE(planted.File(cookies + "\\" + kGoneCookie, "session\n1\ngone.example/\n"));
        ASSERT_TRUE(planted.File(cookies + "\\" + kKeptCookie, "login\n1\nkept.example/\n"));
        for (const std::string* key : {&kTypedUrls, &kMsnToolBar, &kIntelliForms})
            savedKeys.Save(HKEY_CURRENT_USER, *key);
        DeleteKeyTree(HKEY_CURRENT_USER, kTypedUrls);
        ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kTypedUrls, "url1", "http://a.example/"));
        ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kTypedUrls, "url2", "http://b.example/"));
        DeleteKeyTree(HKEY_CURRENT_USER, kMsnToolBar);
        // Four bytes with the NUL.
        ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kMsnToolBar, "SearchStrings", "abc"));
        DeleteKeyTree(HKEY_CURRENT_USER, kIntelliForms);
        ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kIntelliForms, "form1", "saved"));
        ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kIntelliForms, "form2", "saved"));
    }
    void TearDown() override {
        TabTest::TearDown();
        if (addedCacheEntry) ::DeleteUrlCacheEntryA(kCachedUrl);
    }
    void AddCacheEntry() {
        char local[MAX_PATH] = {};
        ASSERT_TRUE(::CreateUrlCacheEntryA(kCachedUrl, 0, "htm", local, 0));
        ASSERT_TRUE(WriteTextFile(local, "cached"));
        FILETIME never{};
        ASSERT_TRUE(::CommitUrlCacheEntryA(kCachedUrl, local, never, never, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr,
                                           nullptr));
        addedCacheEntry = true;
    }
    static constexpr int kManyCookies = 400;
    void RequestSweepsDuring(int button, const std::string& settings);

    std::string cache, history, cookies;
    bool addedCacheEntry = false;
    RegistryKeys savedKeys;  // the browser's lists as they were, back afterwards
};

constexpr const char* kKeepList =
    "[Settings.DstList_Items]\r\nCount=1\r\nItem0=USER@KEPT.EXAMPLE[1].TXT\r\n";

TEST_F(IETab, AnalyzeCountsEveryItemAndChangesNothing) {
    AddCacheEntry();
    const int cached = EntriesBelow(cache);
    Start(std::string("[Settings]\r\nIEAllCB_Checked=True\r\n") + kKeepList);
    ASSERT_TRUE(ClickAndWait(ctl::IEAnalyzeBTN));
    // The end check enables the controls one after the other.
    EXPECT_TRUE(program->WaitUntilEnabled(ctl::IESweepBTN));
    EXPECT_TRUE(program->WaitUntilEnabled(ctl::SweepAllBTN));
    EXPECT_EQ(Label(ctl::IETempFiles), std::to_string(cached) + " file(s)");
    EXPECT_EQ(Label(ctl::IEHistFiles), "2 file(s)");
    EXPECT_EQ(Label(ctl::IECookFiles), "3 file(s)");
    EXPECT_EQ(Label(ctl::IEDropDown), "2 item(s)");
    EXPECT_EQ(Label(ctl::IEAuto), "2 item(s)");
    EXPECT_EQ(Label(ctl::IEIndex), "Located.");
    // The user's own key is measured twice: as HKCU and under HKU by SID.
    EXPECT_EQ(Label(ctl::IEToolBar), "8 byte(s)");
    EXPECT_EQ(Label(ctl::IEGoogle), "0 item(s)");
    EXPECT_TRUE(FileExists(cache + "\\page.htm"));
    EXPECT_TRUE(FileExists(cookies + "\\" + kGoneCookie));
    EXPECT_TRUE(FileExists(history + "\\visited.url"));
    // That the index item leaves the URL cache alone cannot be seen here:
    // Wine's cache has no groups to clean (see the index sweep below).
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kTypedUrls.c_str(), "url1"), "http://a.example/");
}

TEST_F(IETab, SweepSparesDesktopIniAndKeptCookiesAndOverwritesTheRest) {
    Start(std::string("[Settings]\r\nIETempFilesCB_Checked=True\r\nIEHistFilesCB_Checked=True\r\n"
                      "IECookFilesCB_Checked=True\r\nIEIndexCB_Checked=True\r\n") +
          kKeepList);
    // The cache folder also holds what this process's WinINet made there.
    const int cached = EntriesBelow(cache);
    FolderWatch watch(cookies);
    ASSERT_TRUE(watch.armed) << "the cookie folder could not be watched";
    ASSERT_TRUE(ClickAndWait(ctl::IESweepBTN));
    const auto changes = watch.Stop();

    for (const std::string& each : {cache, history, cookies}) EXPECT_TRUE(FileExists(each + "\\desktop.ini")) << each;
    EXPECT_TRUE(FileExists(cookies + "\\" + kKeptCookie));
    EXPECT_FALSE(FileExists(cookies + "\\" + kGoneCookie));
    EXPECT_FALSE(FileExists(cache + "\\page.htm"));
    EXPECT_FALSE(FileExists(cache + "\\sub\\logo.gif"));
    EXPECT_TRUE(FileExists(cache + "\\sub"));
    EXPECT_FALSE(FileExists(history + "\\visited.url"));
    // Every reported entry counts, the spared ones included.
    EXPECT_EQ(Label(ctl::IECookFiles), "3 file(s) deleted.");
    EXPECT_EQ(Label(ctl::IEHistFiles), "2 file(s) deleted.");
    EXPECT_EQ(Label(ctl::IETempFiles), std::to_string(cached) + " file(s) deleted.");
    EXPECT_EQ(Label(ctl::IEIndex), "Cleaned.");
    EXPECT_EQ(Label(ctl::IEDropDown), "Unknown");

    // The secure removal: overwritten (grown to its minimum) under its own
    // name, renamed, and only then removed. The kept cookie was not touched.
    EXPECT_TRUE(Saw(changes, FILE_ACTION_MODIFIED, kGoneCookie));
    EXPECT_TRUE(Saw(changes, FILE_ACTION_RENAMED_OLD_NAME, kGoneCookie));
    EXPECT_FALSE(Saw(changes, FILE_ACTION_REMOVED, kGoneCookie));
    bool scrambledRemoved = false;
    for (const auto& change : changes) {
        EXPECT_NE(change.name, kKeptCookie);
        EXPECT_NE(change.name, "desktop.ini");
        if (change.action == FILE_ACTION_REMOVED && change.name[0] == '~') scrambledRemoved = true;
    }
    EXPECT_TRUE(scrambledRemoved);

    // The label counts what was found; the item's details tell what was
    // removed, and say that the kept cookie was kept.
    HWND details = OpenItemDetails(*program, ctl::IECookFiles);
    ASSERT_TRUE(details);
    const ItemDetailsView view = ReadItemDetails(details);
    EXPECT_EQ(view.caption, "Website Cookies");
    EXPECT_EQ(view.totals.substr(view.totals.find("\r\n") + 2), "Receipt: 1 removed, 2 still there");
    std::vector<std::string> still = view.stillThere;
    std::sort(still.begin(), still.end());
    EXPECT_EQ(still, (std::vector<std::string>{"desktop.ini\t" + cookies + "\tthe folder's description, kept",
                                               std::string(kKeptCookie) + "\t" + cookies + "\tkept by the Cookie Keeper"}));
    EXPECT_TRUE(CloseItemDetails(details));
}

// Wine's cache answers the group and extended-enumeration calls with
// errors: the index item finds nothing it may clean. What this shows is
// that the program copes with that, not that it cleans a real cache.
TEST_F(IETab, IndexSweepWithoutCacheGroupsCleansNothingAndSaysCleaned) {
    GROUPID group = 0;
    HANDLE groups = ::FindFirstUrlCacheGroup(0, CACHEGROUP_SEARCH_ALL, nullptr, 0, &group, nullptr);
    ASSERT_EQ(groups, nullptr) << "this cache has groups: the test describes Wine's";
    AddCacheEntry();
    Start("[Settings]\r\nIEIndexCB_Checked=True\r\n");
    ASSERT_TRUE(ClickAndWait(ctl::IESweepBTN));
    EXPECT_EQ(Label(ctl::IEIndex), "Cleaned.");
    EXPECT_EQ(Label(ctl::IETempFiles), "Unknown");
    // With no groups and no extended enumeration, nothing goes.
    EXPECT_TRUE(CacheEntryExists(kCachedUrl));
}

TEST_F(IETab, ToolBarOnlySweepGivesTheButtonsBackAtOnce) {
    Start("[Settings]\r\nIEToolBarCB_Checked=True\r\n");
    Click(ctl::IESweepBTN);
    // The toolbar item finishes before the click returns.
    EXPECT_TRUE(program->Enabled(ctl::IESweepBTN));
    EXPECT_TRUE(program->Enabled(ctl::IEAnalyzeBTN));
    EXPECT_TRUE(program->Enabled(ctl::SweepAllBTN));
    EXPECT_EQ(Label(ctl::IEToolBar), "4 byte(s) deleted.");
    EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, kMsnToolBar.c_str(), "SearchStrings"));
    EXPECT_EQ(Label(ctl::IEIndex), "Unknown");
}

TEST_F(IETab, SweepWithNothingCheckedGivesTheButtonsBack) {
    Start("[Settings]\r\n");
    Click(ctl::IESweepBTN);
    EXPECT_TRUE(program->Enabled(ctl::IESweepBTN));
    EXPECT_TRUE(program->Enabled(ctl::SweepAllBTN));
    EXPECT_EQ(Label(ctl::IECookFiles), "Unknown");
}

// Requests for a sweep through the tray's quick-sweep command, queued
// behind the click that starts the tab's work: they arrive while its
// cookie scan runs, or while the index item waits for it.
void IETab::RequestSweepsDuring(int button, const std::string& settings) {
    for (int i = 0; i < kManyCookies; ++i)
        ASSERT_TRUE(planted.File(cookies + "\\user@site" + std::to_string(i) + "[1].txt", "c")) << i;
    Start(settings);
    ::PostMessageA(program->Control(button), BM_CLICK, 0, 0);
    for (int i = 0; i < 5; ++i) PostCommand(ctl::SweepIEHistMNU);
    ASSERT_TRUE(WaitUntil([&] { return Label(ctl::IECookFiles).find("file(s)") != std::string::npos; }, 60000));
    ASSERT_TRUE(WaitUntilIdle(ctl::IESweepBTN));
    // Every request has been handled now; one that started a second run
    // would have locked the buttons, or changed the counts checked below.
    ASSERT_TRUE(program->WaitUntilPostedMessagesHandled());
    EXPECT_TRUE(program->Enabled(ctl::IESweepBTN));
}

TEST_F(IETab, SweepRequestedWhileAnalyzingIsIgnored) {
    RequestSweepsDuring(ctl::IEAnalyzeBTN, "[Settings]\r\nIECookFilesCB_Checked=True\r\n");
    // The analysing walk never turned into a sweep half way.
    EXPECT_EQ(Label(ctl::IECookFiles), std::to_string(kManyCookies + 3) + " file(s)");
    EXPECT_EQ(EntriesBelow(cookies), kManyCookies + 3);
}

TEST_F(IETab, SweepRequestedWhileTheIndexItemWaitsIsIgnored) {
    RequestSweepsDuring(ctl::IESweepBTN,
                        "[Settings]\r\nIECookFilesCB_Checked=True\r\nIEIndexCB_Checked=True\r\n");
    EXPECT_EQ(Label(ctl::IECookFiles), std::to_string(kManyCookies + 3) + " file(s) deleted.");
    EXPECT_EQ(Label(ctl::IEIndex), "Cleaned.");
    EXPECT_EQ(EntriesBelow(cookies), 1);  // desktop.ini
}

// The history object's server pointed at a library that is not there,
// for as long as it lives.
class MissingHistoryServer {
public:
    MissingHistoryServer() : original_(ReadRegistryString(HKEY_LOCAL_MACHINE, kServer, "")) {
        EXPECT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, kServer, "", "C:\\windows\\system32\\tw-no-such-history.dll"));
    }
    ~MissingHistoryServer() {
        if (original_) {
            EXPECT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, kServer, "", *original_));
        }
    }
    bool Valid() const { return original_.has_value(); }

private:
    static constexpr const char* kServer =
        "Software\\Classes\\CLSID\\{3C374A40-BAE4-11CF-BF7D-00AA006946EE}\\InprocServer32";
    std::optional<std::string> original_;
};

// The program still starts and the history files are still swept.
TEST_F(IETab, WithoutTheHistoryStoreTheProgramStartsAndSweeps) {
    MissingHistoryServer missing;
    ASSERT_TRUE(missing.Valid());
    Start("[Settings]\r\nIEHistFilesCB_Checked=True\r\n");
    ASSERT_TRUE(ClickAndWait(ctl::IESweepBTN));
    EXPECT_EQ(Label(ctl::IEHistFiles), "2 file(s) deleted.");
    EXPECT_FALSE(FileExists(history + "\\visited.url"));
}

// The reason is told to whoever listens: a debugger sees it at start-up.
TEST_F(IETab, WithoutTheHistoryStoreTheReasonIsLogged) {
    MissingHistoryServer missing;
    ASSERT_TRUE(missing.Valid());
    ASSERT_TRUE(WriteTextFile(folder / "settings.ini", "[Settings]\r\n"));
    ASSERT_TRUE(::CopyFileA(TarnwellExe().c_str(), (folder / "Tarnwell.exe").c_str(), FALSE));
    DebuggedStart start = StartAndReadDebugOutput(folder / "Tarnwell.exe", folder.Path(), "URL history");
    EXPECT_TRUE(start.found) << start.output;
    EXPECT_NE(start.output.find("Tarnwell: URL history unavailable: Creating the URL history object failed"),
              std::string::npos)
        << start.output;
    // Once let go, the program goes on starting until its window shows; it
    // is ended here without ceremony, as nothing more of it is looked at.
    EXPECT_TRUE(WaitUntil([&] {
        const HWND main = MainWindowOf(start.processId);
        return main && ::IsWindowVisible(main);
    }));
    ::TerminateProcess(start.process.get(), 0);
    ::WaitForSingleObject(start.process.get(), 10000);
}

// The same tab as Windows 98, ME and XP run it.
class IETabFamilies : public IETab, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        RunAs(GetParam());
        IETab::SetUp();
    }
};

TEST_P(IETabFamilies, AnalyzeThenSweepThemAll) {
    RegKey tarnwellKey;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarnwell", 0, KEY_WRITE, tarnwellKey.put()) == 0)
        ::RegDeleteValueA(tarnwellKey.get(), "fSid");
    Start(std::string("[Settings]\r\nIEAllCB_Checked=True\r\n") + kKeepList);
    ASSERT_TRUE(ClickAndWait(ctl::IEAnalyzeBTN));
    EXPECT_EQ(Label(ctl::IECookFiles), "3 file(s)");
    EXPECT_EQ(Label(ctl::IEHistFiles), "2 file(s)");
    EXPECT_EQ(Label(ctl::IEDropDown), "2 item(s)");
    EXPECT_EQ(Label(ctl::IEIndex), "Located.");
    ASSERT_TRUE(ClickAndWait(ctl::IESweepBTN));
    EXPECT_EQ(Label(ctl::IECookFiles), "3 file(s) deleted.");
    EXPECT_EQ(Label(ctl::IEDropDown), "2 item(s) deleted.");
    EXPECT_EQ(Label(ctl::IEAuto), "2 removed.");
    EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, kIntelliForms.c_str(), "form1"));
    // On the NT family the protected storage is handed to the service,
    // which is told whose it is.
    const auto sid = ReadRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarnwell", "fSid");
    if (std::string(GetParam()) == "winxp") EXPECT_EQ(sid, GetUserSidText());
    else EXPECT_FALSE(sid);
    EXPECT_EQ(Label(ctl::IEIndex), "Cleaned.");
    EXPECT_EQ(Label(ctl::IEToolBar), "4 byte(s) deleted.");
    EXPECT_TRUE(FileExists(cookies + "\\" + kKeptCookie));
    EXPECT_FALSE(FileExists(cookies + "\\" + kGoneCookie));
    EXPECT_FALSE(FileExists(history + "\\visited.url"));
    EXPECT_TRUE(FileExists(cookies + "\\desktop.ini"));
    EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, kTypedUrls.c_str(), "url1"));
}

INSTANTIATE_TEST_SUITE_P(Windows, IETabFamilies, ::testing::Values("win98", "winme", "winxp"));

}  // namespace
}  // namespace tarnwell::testing
