#include "engine/registry_items.h"

namespace tarnwell {

namespace {

constexpr ValueListOptions kOverwrite{true, false};
constexpr ValueListOptions kOverwriteKeepMRU{true, true};
constexpr ValueListOptions kDeleteKeepMRU{false, true};
const std::string kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
const std::string kFindBar =
    "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\";

}  // namespace

int IEDropDownItem(bool sweep, const RegistryHooks& hooks) {
    TRegistryItem item(sweep, CountRule::All, hooks);
    item.ValueList(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\TypedURLs", kOverwrite);
    item.ValueList(HKEY_USERS, ".Default\\Software\\Microsoft\\Internet Explorer\\TypedURLs", kOverwrite);
    return item.Total();
}

int IEGoogleItem(bool sweep, const RegistryHooks& hooks) {
    TRegistryItem item(sweep, CountRule::All, hooks);
    item.ValueList(HKEY_CURRENT_USER, "Software\\Google\\NavClient\\1.1\\History", kOverwrite);
    return item.Total();
}

int IEYahooItem(bool sweep, const RegistryHooks& hooks) {
    TRegistryItem item(sweep, CountRule::All, hooks);
    item.ValueList(HKEY_CURRENT_USER, "Software\\Yahoo\\Companion\\SearchHistory", kOverwrite);
    return item.Total();
}

int AOLToolBarItem(bool sweep, const RegistryHooks& hooks, const std::string& userSid) {
    TRegistryItem item(sweep, CountRule::All, hooks);
    item.ValueList(HKEY_CURRENT_USER, "Software\\BestToolbars\\IEToolbar\\HistorySearchCombo", kOverwrite);
    item.ValueList(HKEY_CURRENT_USER, "Software\\America Online\\ieToolbar\\settings\\_ldefault_\\SearchCombo",
                   kOverwrite);
    item.ValueList(HKEY_USERS, userSid + "\\Software\\BestToolbars\\IEToolbar\\HistorySearchCombo", kOverwrite);
    return item.Total();
}

int AOLDeskbarItem(bool sweep, const RegistryHooks& hooks, const std::string& userSid) {
    TRegistryItem item(sweep, CountRule::All, hooks);
    item.ValueList(HKEY_CURRENT_USER, "Software\\AOL\\Deskbar\\HistorySearchCombo", kOverwrite);
    item.ValueList(HKEY_USERS, userSid + "\\Software\\AOL\\Deskbar\\HistorySearchCombo", kOverwrite);
    return item.Total();
}

int IEToolBarItem(bool sweep, const RegistryHooks& hooks, const std::string& userSid) {
    TRegistryItem item(sweep, CountRule::All, hooks);
    item.ValueSize(HKEY_CURRENT_USER, "Software\\Microsoft\\MSN ToolBar", "SearchStrings");
    item.ValueSize(HKEY_CURRENT_USER, "Software\\Microsoft\\MSN Apps\\MSN Toolbar", "SearchStrings");
    item.ValueSize(HKEY_USERS, userSid + "\\Software\\Microsoft\\MSN ToolBar", "SearchStrings");
    return item.Total();
}

int WRunFieldItem(bool sweep, const RegistryHooks& hooks) {
    TRegistryItem item(sweep, CountRule::LessOne, hooks);
    item.ValueList(HKEY_CURRENT_USER, kExplorer + "RunMRU", kOverwriteKeepMRU);
    item.ValueList(HKEY_CURRENT_USER, kExplorer + "StreamMRU", kDeleteKeepMRU);
    return item.Total();
}

int WFindFieldsItem(bool sweep, const RegistryHooks& hooks) {
    TRegistryItem item(sweep, CountRule::All, hooks);
    item.ValueList(HKEY_CURRENT_USER, kFindBar + "ContainingTextMRU", kOverwrite);
    item.ValueList(HKEY_CURRENT_USER, kFindBar + "FilesNamedMRU", kOverwrite);
    return item.Total();
}

int WComDlgItem(bool sweep, const RegistryHooks& hooks) {
    TRegistryItem item(sweep, CountRule::LessOne, hooks);
    item.ValueList(HKEY_CURRENT_USER, kExplorer + "ComDlg32\\LastVisitedMRU", kDeleteKeepMRU);
    item.ValueListWithSubkeys(HKEY_CURRENT_USER, kExplorer + "ComDlg32\\OpenSaveMRU", kOverwriteKeepMRU,
                              kOverwriteKeepMRU);
    return item.Total();
}

int WUserAssistItem(bool sweep, const RegistryHooks& hooks) {
    TRegistryItem item(sweep, CountRule::LessOne, hooks);
    item.ValueList(HKEY_CURRENT_USER, kExplorer + "UserAssist\\{5E6AB780-7743-11CF-A12B-00AA004AE837}\\Count",
                   kOverwrite);
    item.ValueList(HKEY_CURRENT_USER, kExplorer + "UserAssist\\{75048700-EF1F-11D0-9888-006097DEACF9}\\Count",
                   kOverwrite);
    return item.Total();
}

int RecentDocsItem(bool sweep, const RegistryHooks& hooks) {
    TRegistryItem item(sweep, CountRule::LessOne, hooks);
    item.ValueListWithSubkeys(HKEY_CURRENT_USER, kExplorer + "RecentDocs", kDeleteKeepMRU, kOverwriteKeepMRU);
    return item.Total();
}

int WMPRecentFilesItem(bool sweep, const RegistryHooks& hooks) {
    TRegistryItem item(sweep, CountRule::All, hooks);
    item.ValueList(HKEY_CURRENT_USER, "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList", kOverwrite);
    item.ValueList(HKEY_CURRENT_USER, "Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList", kOverwrite);
    return item.Total();
}

int RPRecentFilesItem(bool sweep, const RegistryHooks& hooks) {
    TRegistryItem item(sweep, CountRule::All, hooks);
    item.KeyList(HKEY_CURRENT_USER, "Software\\RealNetworks\\RealPlayer\\6.0\\Preferences\\MostRecentClips");
    return item.Total();
}

int IEAutoItem(bool sweep, const RegistryHooks& hooks, bool ntPlatform, const std::string& userName,
               const std::function<void()>& ntServiceStep) {
    TRegistryItem item(sweep, CountRule::All, hooks);
    item.ValueList(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\IntelliForms\\SPW", kOverwrite);
    if (!ntPlatform) {
        const std::string data = "SOFTWARE\\Microsoft\\Protected Storage System Provider\\" + userName +
                                 "\\Data\\e161255a-37c3-11d2-bcaa-00c04fd929db\\e161255a-37c3-11d2-bcaa-00c04fd929db";
        item.SubkeysOf(HKEY_LOCAL_MACHINE, data);
        item.SubkeysOf(HKEY_CURRENT_USER, data);
    } else if (sweep && ntServiceStep) {
        ntServiceStep();
    }
    return item.Total();
}

}  // namespace tarnwell
