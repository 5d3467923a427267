#include "resident/service_manager.h"

#include <algorithm>

#include "app/system_info_win.h"
#include "base/file_names.h"

namespace tarnwell {

struct TbtSvcMan::Functions {
    decltype(&::OpenSCManagerA) OpenSCManager;
    decltype(&::LockServiceDatabase) LockServiceDatabase;
    decltype(&::UnlockServiceDatabase) UnlockServiceDatabase;
    decltype(&::CreateServiceA) CreateService;
    decltype(&::CloseServiceHandle) CloseServiceHandle;
    decltype(&::OpenServiceA) OpenService;
    decltype(&::ControlService) ControlService;
    decltype(&::QueryServiceStatus) QueryServiceStatus;
    decltype(&::DeleteService) DeleteService;
    decltype(&::StartServiceA) StartService;
    decltype(&::EnumServicesStatusA) EnumServicesStatus;
    decltype(&::QueryServiceConfigA) QueryServiceConfig;
    decltype(&::ChangeServiceConfigA) ChangeServiceConfig;
};

namespace {

template <typename T>
bool Bind(HMODULE module, const char* name, T& function) {
    function = reinterpret_cast<T>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
    return function != nullptr;
}

void SetError(std::string* error, std::string text) {
    if (error) *error = std::move(text);
}

}  // namespace

TbtSvcMan::TbtSvcMan(std::string* error) : f_(std::make_unique<Functions>()) {
    if (!DetectOsFlags().IsNTPlatform) return;
    advapi_.reset(::LoadLibraryA("advapi32.dll"));
    if (!advapi_) {
        SetError(error, "Can not obtain Advapi32 handle");
        return;
    }
    HMODULE m = advapi_.get();
    Functions& f = *f_;
    const bool bound = Bind(m, "OpenSCManagerA", f.OpenSCManager) && Bind(m, "LockServiceDatabase", f.LockServiceDatabase) &&
                       Bind(m, "UnlockServiceDatabase", f.UnlockServiceDatabase) &&
                       Bind(m, "CreateServiceA", f.CreateService) && Bind(m, "CloseServiceHandle", f.CloseServiceHandle) &&
                       Bind(m, "OpenServiceA", f.OpenService) && Bind(m, "ControlService", f.ControlService) &&
                       Bind(m, "QueryServiceStatus", f.QueryServiceStatus) && Bind(m, "DeleteService", f.DeleteService) &&
                       Bind(m, "StartServiceA", f.StartService) && Bind(m, "EnumServicesStatusA", f.EnumServicesStatus) &&
                       Bind(m, "QueryServiceConfigA", f.QueryServiceConfig) &&
                       Bind(m, "ChangeServiceConfigA", f.ChangeServiceConfig);
    if (!bound) {
        SetError(error, "Can not obtain an Advapi32 function entry point");
        return;
    }
    manager_ = f.OpenSCManager(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager_) {
        SetError(error, "Can not open Service Control Manager");
        return;
    }
    ready_ = true;
}

TbtSvcMan::~TbtSvcMan() {
    if (ready_ && manager_) f_->CloseServiceHandle(manager_);
}

SC_HANDLE TbtSvcMan::OpenService(const std::string& name, std::string* error) {
    SC_HANDLE service = f_->OpenService(manager_, name.c_str(), SERVICE_ALL_ACCESS);
    if (!service) SetError(error, "Can not access service: " + name);
    return service;
}

std::optional<std::string> TbtSvcMan::RegisterSvc(const std::string& name, const std::string& displayName,
                                                  const std::string& path, TSvcStartType startType) {
    if (!ready_) return std::nullopt;
    const DWORD start = startType == TSvcStartType::stAuto ? SERVICE_AUTO_START : SERVICE_DEMAND_START;
    const std::string command = QuotedProgramPath(path);
    SC_HANDLE service = f_->CreateService(manager_, name.c_str(), displayName.c_str(), SERVICE_ALL_ACCESS,
                                          SERVICE_WIN32_OWN_PROCESS | SERVICE_INTERACTIVE_PROCESS, start,
                                          SERVICE_ERROR_NORMAL, command.c_str(), nullptr, nullptr, nullptr, nullptr,
                                          nullptr);
    if (!service) return "Can not register service: " + name;
    f_->CloseServiceHandle(service);
    return std::nullopt;
}

std::optional<std::string> TbtSvcMan::QuoteSvcPath(const std::string& name) {
    if (!ready_) return std::nullopt;
    const std::vector<unsigned char> config = GetSvcConfig(name);
    if (config.empty()) return "Can not read service configuration: " + name;
    const char* stored = reinterpret_cast<const QUERY_SERVICE_CONFIGA*>(config.data())->lpBinaryPathName;
    const std::string path = stored ? stored : "";
    const std::string quoted = QuotedProgramPath(path);
    if (path.empty() || quoted == path) return std::nullopt;
    std::string error;
    SC_HANDLE service = OpenService(name, &error);
    if (!service) return error;
    const bool changed = f_->ChangeServiceConfig(service, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE,
                                                 quoted.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr,
                                                 nullptr);
    f_->CloseServiceHandle(service);
    if (changed) return std::nullopt;
    return "Can not change service configuration: " + name;
}

std::optional<std::string> TbtSvcMan::UnregisterSvc(const std::string& name) {
    if (!ready_) return std::nullopt;
    std::string error;
    SC_HANDLE service = OpenService(name, &error);
    if (!service) return error;
    const bool deleted = f_->DeleteService(service);
    const DWORD lastError = ::GetLastError();
    f_->CloseServiceHandle(service);
    if (deleted) return std::nullopt;
    if (lastError == ERROR_ACCESS_DENIED) return "ERROR_ACCESS_DENIED.\rCan not unregister service: " + name;
    if (lastError == ERROR_INVALID_HANDLE) return "ERROR_INVALID_HANDLE.\rCan not unregister service: " + name;
    return "Can not unregister service: " + name;
}

bool TbtSvcMan::QuerySvcStatus(const std::string& name, SERVICE_STATUS& status, std::string* error) {
    if (!ready_) return false;
    SC_HANDLE service = OpenService(name, error);
    if (!service) return false;
    const bool ok = f_->QueryServiceStatus(service, &status);
    f_->CloseServiceHandle(service);
    return ok;
}

// Waits while the service reports progress through its check point, for
// a tenth of its wait hint at a time (1 to 10 seconds).
void TbtSvcMan::WaitForState(SC_HANDLE service, DWORD wanted, SERVICE_STATUS& status) {
    if (!f_->QueryServiceStatus(service, &status)) return;
    DWORD startTick = ::GetTickCount();
    DWORD checkPoint = status.dwCheckPoint;
    while (status.dwCurrentState != wanted) {
        ::Sleep(std::clamp<DWORD>(status.dwWaitHint / 10, 1000, 10000));
        if (!f_->QueryServiceStatus(service, &status)) return;
        if (status.dwCheckPoint > checkPoint) {
            startTick = ::GetTickCount();
            checkPoint = status.dwCheckPoint;
        } else if (::GetTickCount() - startTick > status.dwWaitHint) {
            return;
        }
    }
}

bool TbtSvcMan::StartSvc(const std::string& name, const std::vector<std::string>& arguments, std::string* error) {
    if (!ready_) return false;
    SC_HANDLE service = OpenService(name, error);
    if (!service) return false;
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    SERVICE_STATUS status{};
    if (f_->StartService(service, static_cast<DWORD>(argv.size()), argv.empty() ? nullptr : argv.data()))
        WaitForState(service, SERVICE_RUNNING, status);
    f_->CloseServiceHandle(service);
    return status.dwCurrentState == SERVICE_RUNNING;
}

bool TbtSvcMan::Control(const std::string& name, DWORD control, DWORD wanted, std::string* error) {
    if (!ready_) return false;
    SC_HANDLE service = OpenService(name, error);
    if (!service) return false;
    SERVICE_STATUS status{};
    if (f_->ControlService(service, control, &status)) WaitForState(service, wanted, status);
    f_->CloseServiceHandle(service);
    return status.dwCurrentState == wanted;
}

bool TbtSvcMan::StopSvc(const std::string& name, std::string* error) {
    return Control(name, SERVICE_CONTROL_STOP, SERVICE_STOPPED, error);
}

bool TbtSvcMan::PauseSvc(const std::string& name, std::string* error) {
    return Control(name, SERVICE_CONTROL_PAUSE, SERVICE_PAUSED, error);
}

bool TbtSvcMan::ContinueSvc(const std::string& name, std::string* error) {
    return Control(name, SERVICE_CONTROL_CONTINUE, SERVICE_RUNNING, error);
}

std::vector<unsigned char> TbtSvcMan::GetSvcConfig(const std::string& name, std::string* error) {
    std::vector<unsigned char> config;
    if (!ready_) return config;
    SC_HANDLE service = OpenService(name, error);
    if (!service) return config;
    DWORD needed = 0;
    f_->QueryServiceConfig(service, nullptr, 0, &needed);
    config.resize(needed);
    if (needed == 0 || !f_->QueryServiceConfig(service, reinterpret_cast<QUERY_SERVICE_CONFIGA*>(config.data()),
                                              needed, &needed))
        config.clear();
    f_->CloseServiceHandle(service);
    return config;
}

}  // namespace tarnwell
