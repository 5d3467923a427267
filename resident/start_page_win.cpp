#include "resident/start_page_win.h"

#include "app/registry_win.h"
#include "base/handles.h"

namespace tarnwell {

namespace {

constexpr const char* kIEMain = "Software\\Microsoft\\Internet Explorer\\Main";
constexpr const char* kStartPage = "Start Page";

}  // namespace

void RestoreStartPage(const std::string& saved) {
    if (saved.empty()) return;
    RegKey main;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kIEMain, 0, KEY_READ | KEY_WRITE, main.put()) != ERROR_SUCCESS) return;
    if (ReadRegistryString(HKEY_CURRENT_USER, kIEMain, kStartPage) == saved) return;
    ::RegSetValueExA(main.get(), kStartPage, 0, REG_SZ, reinterpret_cast<const BYTE*>(saved.c_str()),
                     static_cast<DWORD>(saved.size() + 1));
    // Written through at once: the program is on its way out.
    ::RegFlushKey(main.get());
}

}  // namespace tarnwell
