#pragma once
// TbtSvcMan: the program's access to the service control manager, bound
// by name from advapi32 so that the program also starts where the service
// functions do not exist. On the 95/98/ME family it is inert. Errors come
// back as their message text instead of being thrown.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/handles.h"
#include "base/win.h"

namespace tarnwell {

enum class TSvcStartType { stManual, stAuto };

inline constexpr const char* kServiceName = "TarnwellService";
inline constexpr const char* kServiceProgram = "TWSvc.exe";

class TbtSvcMan {
public:
    // `error` receives the message when the manager cannot be reached; the
    // object is then inert.
    explicit TbtSvcMan(std::string* error = nullptr);
    ~TbtSvcMan();
    TbtSvcMan(const TbtSvcMan&) = delete;
    TbtSvcMan& operator=(const TbtSvcMan&) = delete;

    bool Ready() const { return ready_; }

    // Each returns the error message, or none when it worked (or when inert).
    // The program path is stored in double quotes, so that a blank in it
    // never makes Windows run the part before the blank instead.
    std::optional<std::string> RegisterSvc(const std::string& name, const std::string& displayName,
                                           const std::string& path, TSvcStartType startType);
    // Puts a stored program path that lacks them in double quotes (a
    // registration made before the paths were quoted).
    std::optional<std::string> QuoteSvcPath(const std::string& name);
    std::optional<std::string> UnregisterSvc(const std::string& name);

    bool QuerySvcStatus(const std::string& name, SERVICE_STATUS& status, std::string* error = nullptr);
    bool StartSvc(const std::string& name, const std::vector<std::string>& arguments = {},
                  std::string* error = nullptr);
    bool StopSvc(const std::string& name, std::string* error = nullptr);
    bool PauseSvc(const std::string& name, std::string* error = nullptr);
    bool ContinueSvc(const std::string& name, std::string* error = nullptr);
    // The service's configuration; empty when it cannot be read.
    std::vector<unsigned char> GetSvcConfig(const std::string& name, std::string* error = nullptr);

private:
    struct Functions;
    SC_HANDLE OpenService(const std::string& name, std::string* error);
    bool Control(const std::string& name, DWORD control, DWORD wanted, std::string* error);
    void WaitForState(SC_HANDLE service, DWORD wanted, SERVICE_STATUS& status);

    Library advapi_;
    SC_HANDLE manager_ = nullptr;
    bool ready_ = false;
    std::unique_ptr<Functions> f_;
};

}  // namespace tarnwell
