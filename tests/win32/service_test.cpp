// The service wrapper and the service stand-in, with services really
// created, started, stopped and deleted in the test prefix.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/control_table.h"
#include "app/known_locations.h"
#include "app/registry_win.h"
#include "engine/registry_cleaner.h"
#include "resident/service_control.h"
#include "resident/service_manager.h"
#include "tests/win32/support/tarnwell_process.h"

namespace tarnwell::testing {
namespace {

std::string ServiceExe() {
    std::string exe = TarnwellExe();
    return exe.substr(0, exe.find_last_of('\\') + 1) + "TWSvc.exe";
}

// The program path the service manager keeps for the service, as
// QueryServiceConfigA reads it back; empty when there is none.
std::string StoredPath(TbtSvcMan& manager) {
    const auto config = manager.GetSvcConfig(kServiceName);
    if (config.empty()) return {};
    const char* path = reinterpret_cast<const QUERY_SERVICE_CONFIGA*>(config.data())->lpBinaryPathName;
    return path ? path : "";
}

// A registration with the program path stored as given, without quotes,
// as older versions of the program made it.
bool RegisterUnquoted(const std::string& path) {
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) return false;
    SC_HANDLE service = ::CreateServiceA(manager, kServiceName, kServiceName, SERVICE_ALL_ACCESS,
                                         SERVICE_WIN32_OWN_PROCESS | SERVICE_INTERACTIVE_PROCESS, SERVICE_AUTO_START,
                                         SERVICE_ERROR_NORMAL, path.c_str(), nullptr, nullptr, nullptr, nullptr,
                                         nullptr);
    if (service) ::CloseServiceHandle(service);
    ::CloseServiceHandle(manager);
    return service != nullptr;
}

bool ServiceExists() {
    TbtSvcMan manager;
    SERVICE_STATUS status;
    return manager.QuerySvcStatus(kServiceName, status);
}

// Watches the service from a thread of its own for as long as it lives:
// reads the status the service manager keeps as fast as it answers. Each
// status that differs from the one before is kept. (Asking the service
// itself with SERVICE_CONTROL_INTERROGATE meanwhile makes Wine refuse the
// stop requests now and then, so the watch only reads.)
class StatusWatch {
public:
    StatusWatch() {
        stop_.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        thread_.reset(::CreateThread(nullptr, 0, &StatusWatch::Run, this, 0, nullptr));
    }
    ~StatusWatch() { Finish(); }
    StatusWatch(const StatusWatch&) = delete;
    StatusWatch& operator=(const StatusWatch&) = delete;

    bool Started() const { return stop_ && thread_; }
    // Ends the watch; the statuses seen, in order.
    const std::vector<SERVICE_STATUS>& Finish() {
        if (thread_) {
            ::SetEvent(stop_.get());
            ::WaitForSingleObject(thread_.get(), INFINITE);
            thread_.reset();
        }
        return seen_;
    }

private:
    static DWORD WINAPI Run(void* self) {
        static_cast<StatusWatch*>(self)->Watch();
        return 0;
    }
    void Watch() {
        SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
        SC_HANDLE service = manager ? ::OpenServiceA(manager, kServiceName, SERVICE_QUERY_STATUS) : nullptr;
        while (service && ::WaitForSingleObject(stop_.get(), 0) == WAIT_TIMEOUT) {
            SERVICE_STATUS status{};
            if (::QueryServiceStatus(service, &status)) Keep(status);
        }
        if (service) ::CloseServiceHandle(service);
        if (manager) ::CloseServiceHandle(manager);
    }
    void Keep(const SERVICE_STATUS& status) {
        if (!seen_.empty() && std::memcmp(&seen_.back(), &status, sizeof status) == 0) return;
        seen_.push_back(status);
    }

    KernelHandle stop_;
    KernelHandle thread_;
    std::vector<SERVICE_STATUS> seen_;
};

bool KnownState(DWORD state) {
    return state == SERVICE_STOPPED || state == SERVICE_START_PENDING || state == SERVICE_RUNNING ||
           state == SERVICE_STOP_PENDING;
}

std::string Describe(const SERVICE_STATUS& status) {
    return "state " + std::to_string(status.dwCurrentState) + ", controls " +
           std::to_string(status.dwControlsAccepted) + ", wait hint " + std::to_string(status.dwWaitHint);
}

class Service : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(manager.Ready());
        manager.StopSvc(kServiceName);
        manager.UnregisterSvc(kServiceName);
        ASSERT_TRUE(::CopyFileA(ServiceExe().c_str(), (folder / "TWSvc.exe").c_str(), FALSE));
    }
    void TearDown() override {
        manager.StopSvc(kServiceName);
        manager.UnregisterSvc(kServiceName);
    }
    TempFolder folder;
    TbtSvcMan manager;
};

TEST_F(Service, RegisterStartStopAndUnregisterWithTheirErrors) {
    EXPECT_EQ(manager.RegisterSvc(kServiceName, kServiceName, folder / "TWSvc.exe", TSvcStartType::stManual),
              std::nullopt);
    EXPECT_EQ(manager.RegisterSvc(kServiceName, kServiceName, folder / "TWSvc.exe", TSvcStartType::stManual),
              "Can not register service: TarnwellService");
    const auto config = manager.GetSvcConfig(kServiceName);
    ASSERT_FALSE(config.empty());
    const auto* parsed = reinterpret_cast<const QUERY_SERVICE_CONFIGA*>(config.data());
    EXPECT_EQ(parsed->dwServiceType, static_cast<DWORD>(SERVICE_WIN32_OWN_PROCESS | SERVICE_INTERACTIVE_PROCESS));
    EXPECT_EQ(parsed->dwStartType, static_cast<DWORD>(SERVICE_DEMAND_START));

    EXPECT_TRUE(manager.StartSvc(kServiceName));
    SERVICE_STATUS status{};
    ASSERT_TRUE(manager.QuerySvcStatus(kServiceName, status));
    EXPECT_EQ(status.dwCurrentState, static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_TRUE(manager.StopSvc(kServiceName));
    ASSERT_TRUE(manager.QuerySvcStatus(kServiceName, status));
    EXPECT_EQ(status.dwCurrentState, static_cast<DWORD>(SERVICE_STOPPED));

    EXPECT_EQ(manager.UnregisterSvc(kServiceName), std::nullopt);
    // A service that was never there (a deleted one may linger until its
    // last handle closes).
    EXPECT_EQ(manager.UnregisterSvc("TarnwellMissing"), "Can not access service: TarnwellMissing");
    std::string error;
    EXPECT_FALSE(manager.StartSvc("TarnwellMissing", {}, &error));
    EXPECT_EQ(error, "Can not access service: TarnwellMissing");
}

TEST_F(Service, ProgramPathIsStoredInQuotesAndRunsFromAFolderWithABlank) {
    const std::string dir = folder / "Tarnwell Files\\";
    ASSERT_TRUE(MakeDirectories(dir));
    ASSERT_TRUE(::CopyFileA(ServiceExe().c_str(), (dir + "TWSvc.exe").c_str(), FALSE));
    ASSERT_EQ(manager.RegisterSvc(kServiceName, kServiceName, dir + "TWSvc.exe", TSvcStartType::stManual),
              std::nullopt);
    EXPECT_EQ(StoredPath(manager), "\"" + dir + "TWSvc.exe\"");
    EXPECT_TRUE(manager.StartSvc(kServiceName));
    EXPECT_TRUE(manager.StopSvc(kServiceName));
}

TEST_F(Service, QuotingAStoredPathChangesOnlyAnUnquotedOne) {
    const std::string path = folder / "Tarnwell Files\\TWSvc.exe";
    ASSERT_TRUE(RegisterUnquoted(path));
    ASSERT_EQ(StoredPath(manager), path);
    EXPECT_EQ(manager.QuoteSvcPath(kServiceName), std::nullopt);
    EXPECT_EQ(StoredPath(manager), "\"" + path + "\"");
    EXPECT_EQ(manager.QuoteSvcPath(kServiceName), std::nullopt);
    EXPECT_EQ(StoredPath(manager), "\"" + path + "\"");
    EXPECT_EQ(manager.QuoteSvcPath("TarnwellMissing"), "Can not read service configuration: TarnwellMissing");
}

TEST_F(Service, EveryStatusSeenWhileStartingAndStoppingRepeatedlyIsWhole) {
    ASSERT_EQ(manager.RegisterSvc(kServiceName, kServiceName, folder / "TWSvc.exe", TSvcStartType::stManual),
              std::nullopt);
    StatusWatch watch;
    ASSERT_TRUE(watch.Started());
    for (int round = 0; round < 5; ++round) {
        EXPECT_TRUE(manager.StartSvc(kServiceName)) << "round " << round;
        EXPECT_TRUE(manager.StopSvc(kServiceName)) << "round " << round;
    }
    const std::vector<SERVICE_STATUS>& seen = watch.Finish();
    // A watcher may miss short states, so only what one record says and
    // the step back from a stop under way into running are checked.
    int running = 0;
    for (size_t i = 0; i < seen.size(); ++i) {
        const SERVICE_STATUS& status = seen[i];
        ASSERT_TRUE(KnownState(status.dwCurrentState)) << Describe(status);
        if (status.dwCurrentState == SERVICE_RUNNING) {
            ++running;
            EXPECT_EQ(status.dwControlsAccepted, static_cast<DWORD>(SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN))
                << Describe(status);
            EXPECT_EQ(status.dwWaitHint, 0u) << Describe(status);
        } else {
            EXPECT_EQ(status.dwControlsAccepted, 0u) << Describe(status);
        }
        if (status.dwCurrentState == SERVICE_STOP_PENDING) {
            EXPECT_EQ(status.dwWaitHint, 3000u) << Describe(status);
        }
        if (i > 0 && seen[i - 1].dwCurrentState == SERVICE_STOP_PENDING) {
            EXPECT_NE(status.dwCurrentState, static_cast<DWORD>(SERVICE_RUNNING))
                << Describe(seen[i - 1]) << ", then " << Describe(status);
        }
    }
    // On a loaded machine a whole start-and-stop round can pass between
    // two looks, so only that running was seen at all is required.
    EXPECT_GE(running, 1);
}

TEST_F(Service, StartingRemovesTheRecordedUsersProtectedStorageAndTheListedIndexFiles) {
    const std::string sid = GetUserSidText();
    const std::string store = sid + "\\Software\\Microsoft\\Protected Storage System Provider\\me\\Data";
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_USERS, store.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), 0);
    ::RegCloseKey(key);
    ASSERT_TRUE(WriteTextFile(folder / "index.dat", "index"));
    ASSERT_TRUE(WriteTextFile(folder / "keep.txt", "not an index"));
    ASSERT_TRUE(
        WriteTextFile(folder / "index.lst", folder / "index.dat\r\n" + folder / "keep.txt\r\n" + folder / "x\r\n1\r\n"));
    ASSERT_EQ(manager.RegisterSvc(kServiceName, kServiceName, folder / "TWSvc.exe", TSvcStartType::stManual),
              std::nullopt);

    HandProtectedStorageToService(&manager, true);

    EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarnwell", "fSid"), sid);
    HKEY gone = nullptr;
    EXPECT_NE(::RegOpenKeyExA(HKEY_USERS, store.c_str(), 0, KEY_READ, &gone), ERROR_SUCCESS);
    EXPECT_FALSE(FileExists(folder / "index.dat"));
    EXPECT_TRUE(FileExists(folder / "keep.txt"));
    SERVICE_STATUS status{};
    ASSERT_TRUE(manager.QuerySvcStatus(kServiceName, status));
    EXPECT_EQ(status.dwCurrentState, static_cast<DWORD>(SERVICE_STOPPED));  // started, then stopped again
}

TEST_F(Service, UninstallRemovesTheServiceWithoutAWindow) {
    ASSERT_EQ(manager.RegisterSvc(kServiceName, kServiceName, folder / "TWSvc.exe", TSvcStartType::stAuto),
              std::nullopt);
    TarnwellProcess program(folder.Path(), "/uninstall");
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_FALSE(ServiceExists());
    EXPECT_FALSE(FileExists(folder / "settings.ini"));
}

TEST_F(Service, ProgramRegistersAtStartAndKeepsTheServiceOnlyWithTheIndexOption) {
    ASSERT_TRUE(WriteTextFile(folder / "settings.ini", "[Settings]\r\nVintrelCB_Checked=True\r\n"));
    {
        TarnwellProcess program(folder.Path());
        ASSERT_TRUE(program.WaitForMainWindow()) << program.StartState();
        EXPECT_TRUE(ServiceExists());
        program.EndSession();
        ASSERT_TRUE(program.WaitForExit());
    }
    EXPECT_TRUE(ServiceExists());
    EXPECT_EQ(StoredPath(manager), "\"" + (folder / "TWSvc.exe") + "\"");
    const auto config = manager.GetSvcConfig(kServiceName);
    ASSERT_FALSE(config.empty());
    EXPECT_EQ(reinterpret_cast<const QUERY_SERVICE_CONFIGA*>(config.data())->dwStartType,
              static_cast<DWORD>(SERVICE_AUTO_START));

    ASSERT_TRUE(WriteTextFile(folder / "settings.ini", "[Settings]\r\nVintrelCB_Checked=False\r\n"));
    TarnwellProcess program(folder.Path());
    ASSERT_TRUE(program.WaitForMainWindow()) << program.StartState();
    program.EndSession();
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_FALSE(ServiceExists());
}

TEST_F(Service, ProgramInAFolderWithABlankRegistersItsQuotedPath) {
    const std::string dir = folder / "Tarnwell Files\\";
    ASSERT_TRUE(MakeDirectories(dir));
    ASSERT_TRUE(WriteTextFile(dir + "settings.ini", "[Settings]\r\nVintrelCB_Checked=True\r\n"));
    TarnwellProcess program(dir);
    ASSERT_TRUE(program.WaitForMainWindow()) << program.StartState();
    EXPECT_EQ(StoredPath(manager), "\"" + dir + "TWSvc.exe\"");
    program.EndSession();
    ASSERT_TRUE(program.WaitForExit());
}

TEST_F(Service, ProgramQuotesAnUnquotedRegistrationAtStart) {
    const std::string dir = folder / "Tarnwell Files\\";
    ASSERT_TRUE(MakeDirectories(dir));
    ASSERT_TRUE(WriteTextFile(dir + "settings.ini", "[Settings]\r\nVintrelCB_Checked=True\r\n"));
    ASSERT_TRUE(RegisterUnquoted(dir + "TWSvc.exe"));
    ASSERT_EQ(StoredPath(manager), dir + "TWSvc.exe");
    TarnwellProcess program(dir);
    ASSERT_TRUE(program.WaitForMainWindow()) << program.StartState();
    EXPECT_EQ(StoredPath(manager), "\"" + dir + "TWSvc.exe\"");
    program.EndSession();
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_EQ(StoredPath(manager), "\"" + dir + "TWSvc.exe\"");
}

}  // namespace
}  // namespace tarnwell::testing
