#pragma once
// The registry items of the categories, each returning its count under
// its own count rule (Analyze when `sweep` is off).
#include <functional>
#include <string>

#include "engine/registry_cleaner.h"

namespace tarnwell {

int IEDropDownItem(bool sweep, const RegistryHooks& hooks);
int IEGoogleItem(bool sweep, const RegistryHooks& hooks);
int IEYahooItem(bool sweep, const RegistryHooks& hooks);
int IEToolBarItem(bool sweep, const RegistryHooks& hooks, const std::string& userSid);
int WRunFieldItem(bool sweep, const RegistryHooks& hooks);
int WFindFieldsItem(bool sweep, const RegistryHooks& hooks);
int WComDlgItem(bool sweep, const RegistryHooks& hooks);
int WUserAssistItem(bool sweep, const RegistryHooks& hooks);
int RecentDocsItem(bool sweep, const RegistryHooks& hooks);
int WMPRecentFilesItem(bool sweep, const RegistryHooks& hooks);
int RPRecentFilesItem(bool sweep, const RegistryHooks& hooks);
// The AOL toolbar's and deskbar's search histories, the current user's
// both as HKEY_CURRENT_USER and under HKEY_USERS\<userSid>.
int AOLToolBarItem(bool sweep, const RegistryHooks& hooks, const std::string& userSid);
int AOLDeskbarItem(bool sweep, const RegistryHooks& hooks, const std::string& userSid);

// The browser AutoComplete item: the IntelliForms values, then the
// protected storage: its subkeys on the 95/98/ME family (for `userName`),
// and on the NT family, when sweeping, `ntServiceStep` (which hands the
// work to the background service).
int IEAutoItem(bool sweep, const RegistryHooks& hooks, bool ntPlatform, const std::string& userName,
               const std::function<void()>& ntServiceStep);

}  // namespace tarnwell
