// The registry items on the real registry of the test prefix.
#include <gtest/gtest.h>

#include <map>

#include "app/known_locations.h"
#include "app/registry_win.h"
#include "engine/registry_items.h"
#include "tests/win32/support/registry_values.h"
#include "tests/win32/support/tarnwell_process.h"

namespace tarnwell::testing {
namespace {

const std::string kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
const std::string kDefaultTypedUrls = ".Default\\Software\\Microsoft\\Internet Explorer\\TypedURLs";

void SetBinary(HKEY root, const std::string& key, const std::string& value, size_t size) {
    HKEY handle = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr), 0);
    std::string data(size, '\x07');
    ::RegSetValueExA(handle, value.c_str(), 0, REG_BINARY, reinterpret_cast<const BYTE*>(data.data()),
                     static_cast<DWORD>(size));
    ::RegCloseKey(handle);
}

void MakeKey(HKEY root, const std::string& key) {
    HKEY handle = nullptr;
    ::RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr);
    ::RegCloseKey(handle);
}

int ValueCount(HKEY root, const std::string& key) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return -1;
    DWORD count = 0;
    ::RegQueryInfoKeyA(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                       nullptr);
    ::RegCloseKey(handle);
    return static_cast<int>(count);
}

class RegistryItems : public ::testing::Test {
protected:
    void SetUp() override {
        for (const std::string& key : {kExplorer + "RunMRU", kExplorer + "StreamMRU", kExplorer + "ComDlg32",
                                       kExplorer + "RecentDocs", std::string("Software\\Microsoft\\MSN ToolBar"),
                                       std::string("Software\\Microsoft\\MSN Apps"),
                                       std::string("Software\\Microsoft\\Internet Explorer\\TypedURLs"),
                                       std::string("Software\\RealNetworks"), std::string("Software\\BestToolbars"),
                                       std::string("Software\\America Online\\ieToolbar"),
                                       std::string("Software\\AOL\\Deskbar"),
                                       std::string("Software\\Microsoft\\MediaPlayer\\Player"),
                                       std::string("SOFTWARE\\Microsoft\\Protected Storage System Provider")}) {
            savedKeys.Save(HKEY_CURRENT_USER, key);
            DeleteKeyTree(HKEY_CURRENT_USER, key);
        }
        savedKeys.Save(HKEY_USERS, kDefaultTypedUrls);
        DeleteKeyTree(HKEY_USERS, kDefaultTypedUrls);
        hooks.ValueOverwritten = [this](HKEY root, const std::string& key, const std::string& value) {
            overwritten[key + "|" + value] = ReadRegistryString(root, key.c_str(), value.c_str()).value_or("?");
        };
    }
    RegistryKeys savedKeys;  // what the lists held before the test, back afterwards
    RegistryHooks hooks;
    std::map<std::string, std::string> overwritten;  // what the value held right after the blank write
};

TEST_F(RegistryItems, RunListOverwritesEntriesAndKeepsAnEmptyMRUList) {
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kExplorer + "RunMRU", "a", std::string(600, 'x') + "\\1"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kExplorer + "RunMRU", "b", "regedit\\1"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kExplorer + "RunMRU", "MRUList", "ba"));
    EXPECT_EQ(WRunFieldItem(false, hooks), 2);  // three names, less one
    EXPECT_EQ(ValueCount(HKEY_CURRENT_USER, kExplorer + "RunMRU"), 3);
    EXPECT_EQ(WRunFieldItem(true, hooks), 2);
    EXPECT_EQ(overwritten[kExplorer + "RunMRU|a"], kBlankText);  // the long value did not survive the write
    EXPECT_EQ(overwritten[kExplorer + "RunMRU|b"], kBlankText);
    EXPECT_FALSE(overwritten.count(kExplorer + "RunMRU|MRUList"));
    EXPECT_EQ(ValueCount(HKEY_CURRENT_USER, kExplorer + "RunMRU"), 1);
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, (kExplorer + "RunMRU").c_str(), "MRUList"), "");
}

TEST_F(RegistryItems, LessOneNeverGoesBelowZero) {
    MakeKey(HKEY_CURRENT_USER, kExplorer + "StreamMRU");  // present but empty; RunMRU absent
    EXPECT_EQ(WRunFieldItem(false, hooks), 0);
    EXPECT_EQ(WUserAssistItem(false, hooks), 0);
}

TEST_F(RegistryItems, TypedAddressesUnderTheUserAndTheDefaultProfile) {
    for (const char* v : {"url1", "url2", "url3"})
        ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\TypedURLs", v,
                                      "http://example.com/"));
    for (const char* v : {"url1", "url2"})
        ASSERT_TRUE(SetRegistryString(HKEY_USERS, ".Default\\Software\\Microsoft\\Internet Explorer\\TypedURLs", v,
                                      "http://a.example/"));
    EXPECT_EQ(IEDropDownItem(false, hooks), 5);
    EXPECT_EQ(IEDropDownItem(true, hooks), 5);
    EXPECT_EQ(overwritten.size(), 5u);
    EXPECT_EQ(IEDropDownItem(false, hooks), 0);
}

TEST_F(RegistryItems, ComDlgSubkeysKeepOnlyAnEmptyMRUList) {
    const std::string openSave = kExplorer + "ComDlg32\\OpenSaveMRU";
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kExplorer + "ComDlg32\\LastVisitedMRU", "a", "notepad.exe"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kExplorer + "ComDlg32\\LastVisitedMRU", "MRUList", "a"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, openSave, "a", "C:\\x.txt"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, openSave, "MRUList", "a"));
    for (const char* sub : {"txt", "*"}) {
        ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, openSave + "\\" + sub, "a", "C:\\one.txt"));
        ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, openSave + "\\" + sub, "b", "C:\\two.txt"));
        ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, openSave + "\\" + sub, "MRUList", "ab"));
    }
    // 2 - 1, then 2 - 1, then 3 - 1 twice.
    EXPECT_EQ(WComDlgItem(false, hooks), 6);
    EXPECT_EQ(WComDlgItem(true, hooks), 6);
    for (const char* sub : {"txt", "*"}) {
        EXPECT_EQ(ValueCount(HKEY_CURRENT_USER, openSave + "\\" + sub), 1);
        EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, (openSave + "\\" + sub).c_str(), "MRUList"), "");
        EXPECT_EQ(overwritten[openSave + "\\" + sub + "|a"], kBlankText);
    }
    // LastVisitedMRU entries are deleted without the blank text.
    EXPECT_FALSE(overwritten.count(kExplorer + "ComDlg32\\LastVisitedMRU|a"));
}

TEST_F(RegistryItems, RealPlayerKeysOneTwoAndFive) {
    const std::string base = "Software\\RealNetworks\\RealPlayer\\6.0\\Preferences\\MostRecentClips";
    for (int i : {1, 2, 5}) ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, base + std::to_string(i), "", "clip.rm"));
    MakeKey(HKEY_CURRENT_USER, base + "5\\nested");
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, base + "9", "", "beyond eight"));
    EXPECT_EQ(RPRecentFilesItem(false, hooks), 3);
    EXPECT_EQ(RPRecentFilesItem(true, hooks), 3);
    EXPECT_EQ(ValueCount(HKEY_CURRENT_USER, base + "5"), -1);
    EXPECT_EQ(ValueCount(HKEY_CURRENT_USER, base + "9"), 1);
}

TEST_F(RegistryItems, MsnSearchStringsCountedAgainThroughTheUsersSidKey) {
    SetBinary(HKEY_CURRENT_USER, "Software\\Microsoft\\MSN ToolBar", "SearchStrings", 40);
    EXPECT_EQ(IEToolBarItem(false, hooks, GetUserSidText()), 80);
    EXPECT_EQ(IEToolBarItem(true, hooks, GetUserSidText()), 40);  // gone after the first key
    EXPECT_EQ(IEToolBarItem(false, hooks, GetUserSidText()), 0);
}

// HKEY_USERS\<SID> is the current user's own key: what the first pass
// over it left is counted again by analysis, and gone after a sweep.
TEST_F(RegistryItems, AolToolbarAndDeskbarListsThroughTheUserAndItsSidKey) {
    const std::string toolbar = "Software\\BestToolbars\\IEToolbar\\HistorySearchCombo";
    const std::string aolToolbar = "Software\\America Online\\ieToolbar\\settings\\_ldefault_\\SearchCombo";
    const std::string deskbar = "Software\\AOL\\Deskbar\\HistorySearchCombo";
    for (const char* v : {"0", "1"}) ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, toolbar, v, "cheap flights"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, aolToolbar, "0", "springfield weather"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, deskbar, "0", "used car prices"));
    EXPECT_EQ(AOLToolBarItem(false, hooks, GetUserSidText()), 5);
    EXPECT_EQ(AOLDeskbarItem(false, hooks, GetUserSidText()), 2);
    EXPECT_TRUE(overwritten.empty());
    EXPECT_EQ(AOLToolBarItem(true, hooks, GetUserSidText()), 3);
    EXPECT_EQ(AOLDeskbarItem(true, hooks, GetUserSidText()), 1);
    for (const std::string& written : {toolbar + "|0", toolbar + "|1", aolToolbar + "|0", deskbar + "|0"})
        EXPECT_EQ(overwritten[written], kBlankText) << written;
    EXPECT_EQ(ValueCount(HKEY_CURRENT_USER, toolbar), 0);
    EXPECT_EQ(ValueCount(HKEY_CURRENT_USER, deskbar), 0);
}

TEST_F(RegistryItems, MediaPlayerFilesAndAddressesAreBlankedBeforeTheyGo) {
    const std::string files = "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList";
    const std::string urls = "Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList";
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, files, "File0", "C:\\music\\song.wma"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, files, "File1", "C:\\video\\party.wmv"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, urls, "URL0", "mms://stream.example.org/news"));
    EXPECT_EQ(WMPRecentFilesItem(false, hooks), 3);
    EXPECT_TRUE(overwritten.empty());
    EXPECT_EQ(WMPRecentFilesItem(true, hooks), 3);
    for (const std::string& written : {files + "|File0", files + "|File1", urls + "|URL0"})
        EXPECT_EQ(overwritten[written], kBlankText) << written;
    EXPECT_EQ(ValueCount(HKEY_CURRENT_USER, files), 0);
    EXPECT_EQ(ValueCount(HKEY_CURRENT_USER, urls), 0);
}

TEST_F(RegistryItems, RecentDocsValuesOfOtherTypesAndSubkeys) {
    SetBinary(HKEY_CURRENT_USER, kExplorer + "RecentDocs", "0", 30);
    SetBinary(HKEY_CURRENT_USER, kExplorer + "RecentDocs", "MRUListEx", 8);
    SetBinary(HKEY_CURRENT_USER, kExplorer + "RecentDocs\\.txt", "0", 30);
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kExplorer + "RecentDocs\\.txt", "MRUList", "a"));
    EXPECT_EQ(RecentDocsItem(false, hooks), 2);  // (2 - 1) + (2 - 1)
    EXPECT_EQ(RecentDocsItem(true, hooks), 2);
    EXPECT_EQ(ValueCount(HKEY_CURRENT_USER, kExplorer + "RecentDocs"), 0);
    EXPECT_EQ(overwritten[kExplorer + "RecentDocs\\.txt|0"], kBlankText);
    EXPECT_FALSE(overwritten.count(kExplorer + "RecentDocs|0"));
}

TEST_F(RegistryItems, AutoCompleteOnTheNineXFamilyDeletesProtectedStorageSubkeys) {
    const std::string data =
        "SOFTWARE\\Microsoft\\Protected Storage System Provider\\ann\\Data\\e161255a-37c3-11d2-bcaa-00c04fd929db"
        "\\e161255a-37c3-11d2-bcaa-00c04fd929db";
    MakeKey(HKEY_CURRENT_USER, data + "\\site1\\deeper");
    MakeKey(HKEY_CURRENT_USER, data + "\\site2");
    ASSERT_TRUE(
        SetRegistryString(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\IntelliForms\\SPW", "x", "y"));
    bool serviceStep = false;
    EXPECT_EQ(IEAutoItem(false, hooks, false, "ann", [&] { serviceStep = true; }), 3);
    EXPECT_EQ(IEAutoItem(true, hooks, false, "ann", [&] { serviceStep = true; }), 3);
    EXPECT_FALSE(serviceStep);
    EXPECT_EQ(IEAutoItem(false, hooks, false, "ann", nullptr), 0);
    // On NT the sweep hands the rest to the service; Analyze does not.
    IEAutoItem(false, hooks, true, "ann", [&] { serviceStep = true; });
    EXPECT_FALSE(serviceStep);
    IEAutoItem(true, hooks, true, "ann", [&] { serviceStep = true; });
    EXPECT_TRUE(serviceStep);
}

}  // namespace
}  // namespace tarnwell::testing
