#include "resident/service_control.h"

#include "app/known_locations.h"
#include "resident/service_manager.h"
#include "base/handles.h"

namespace tarnwell {

void UnregisterServiceForUninstall() {
    TbtSvcMan manager;
    manager.UnregisterSvc(kServiceName);
}

std::unique_ptr<TbtSvcMan> RegisterBackgroundService(const std::string& programDir) {
    auto manager = std::make_unique<TbtSvcMan>();
    if (!manager->Ready()) return nullptr;
    // An existing registration stays, but never with an unquoted path.
    if (manager->RegisterSvc(kServiceName, kServiceName, programDir + kServiceProgram, TSvcStartType::stAuto))
        manager->QuoteSvcPath(kServiceName);
    return manager;
}

void HandProtectedStorageToService(TbtSvcMan* manager, bool administrator) {
    // Created if needed; the registry calls take the path without a leading backslash.
    RegKey key;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarnwell", 0, nullptr, 0, KEY_WRITE, nullptr, key.put(),
                          nullptr) == ERROR_SUCCESS) {
        const std::string sid = GetUserSidText();
        ::RegSetValueExA(key.get(), "fSid", 0, REG_SZ, reinterpret_cast<const BYTE*>(sid.c_str()),
                         static_cast<DWORD>(sid.size() + 1));
    }
    key.reset();
    if (!administrator || !manager) return;
    SERVICE_STATUS status{};
    if (manager->QuerySvcStatus(kServiceName, status) && status.dwCurrentState == SERVICE_RUNNING)
        manager->StopSvc(kServiceName);
    if (manager->StartSvc(kServiceName)) manager->StopSvc(kServiceName);
}

}  // namespace tarnwell
