// TWSvc.exe, the background service "TarnwellService": each time it
// starts it removes the protected-storage data of the user named by the
// SID text in HKLM "SOFTWARE\Tarnwell" "fSid" and deletes the index files
// that index.lst beside it names (only "index.dat" files, never through a
// link); then it runs until it is stopped.
#include <string>

#include "base/win.h"
#include "engine/registry_cleaner.h"
#include "resident/index_files_win.h"

namespace {

// The status record is written by ServiceMain's thread and by the control
// handler, which runs on the dispatcher's thread (the process's first);
// each change and each report of it happens under this lock, so that the
// service manager never gets a half-written record.
class StatusLock {
public:
    StatusLock() { ::InitializeCriticalSection(&section_); }
    ~StatusLock() { ::DeleteCriticalSection(&section_); }
    StatusLock(const StatusLock&) = delete;
    StatusLock& operator=(const StatusLock&) = delete;

    class Held {
    public:
        explicit Held(StatusLock& lock) : lock_(lock) { ::EnterCriticalSection(&lock_.section_); }
        ~Held() { ::LeaveCriticalSection(&lock_.section_); }
        Held(const Held&) = delete;
        Held& operator=(const Held&) = delete;

    private:
        StatusLock& lock_;
    };

private:
    CRITICAL_SECTION section_;
};

StatusLock statusLock;
SERVICE_STATUS_HANDLE statusHandle = nullptr;
SERVICE_STATUS status{};
HANDLE stopEvent = nullptr;

void Report(DWORD state) {
    StatusLock::Held held(statusLock);
    // Once a stop is under way the start-up's late "running" is not reported.
    if (status.dwCurrentState == SERVICE_STOP_PENDING && state != SERVICE_STOPPED) return;
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
    status.dwWin32ExitCode = NO_ERROR;
    status.dwWaitHint = state == SERVICE_RUNNING || state == SERVICE_STOPPED ? 0 : 3000;
    ++status.dwCheckPoint;
    ::SetServiceStatus(statusHandle, &status);
}

void ReportAgain() {
    StatusLock::Held held(statusLock);
    ::SetServiceStatus(statusHandle, &status);
}

std::string ReadSid() {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarnwell", 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    char sid[256] = {};
    DWORD size = sizeof sid - 1, type = 0;
    const bool ok = ::RegQueryValueExA(key, "fSid", nullptr, &type, reinterpret_cast<BYTE*>(sid), &size) ==
                        ERROR_SUCCESS && type == REG_SZ;
    ::RegCloseKey(key);
    return ok ? std::string(sid) : std::string();
}

void RemoveProtectedStorage() {
    const std::string sid = ReadSid();
    // A SID text never holds a backslash; anything else is not a user key.
    if (sid.empty() || sid.find('\\') != std::string::npos) return;
    tarnwell::DeleteKeyTree(HKEY_USERS, sid + "\\Software\\Microsoft\\Protected Storage System Provider");
}

void DeleteIndexFiles() {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string program(self);
    tarnwell::RemoveListedIndexFiles(program.substr(0, program.find_last_of('\\') + 1) + "index.lst");
}

// The plain handler, not the Ex one of Windows 2000: the service also runs on NT 4.
void WINAPI Handler(DWORD control) {
    if (control == SERVICE_CONTROL_STOP || control == SERVICE_CONTROL_SHUTDOWN) {
        Report(SERVICE_STOP_PENDING);
        ::SetEvent(stopEvent);
    } else if (control == SERVICE_CONTROL_INTERROGATE) {
        ReportAgain();
    }
}

void WINAPI ServiceMain(DWORD, char**) {
    // The event exists before the handler can be called.
    stopEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!stopEvent) return;
    statusHandle = ::RegisterServiceCtrlHandlerA("TarnwellService", Handler);
    if (!statusHandle) {
        ::CloseHandle(stopEvent);
        return;
    }
    Report(SERVICE_START_PENDING);
    RemoveProtectedStorage();
    DeleteIndexFiles();
    Report(SERVICE_RUNNING);
    ::WaitForSingleObject(stopEvent, INFINITE);
    ::CloseHandle(stopEvent);
    Report(SERVICE_STOPPED);
}

}  // namespace

int main() {
    char name[] = "TarnwellService";
    SERVICE_TABLE_ENTRYA table[] = {{name, ServiceMain}, {nullptr, nullptr}};
    return ::StartServiceCtrlDispatcherA(table) ? 0 : 1;
}
