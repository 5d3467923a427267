#include "engine/scanner.h"

#include <atomic>
#include <vector>

#include "base/file_names.h"
#include "engine/file_time_win.h"
#include "engine/mask.h"
#include "base/handles.h"
#include "base/win.h"

namespace tarnwell {

namespace {

constexpr UINT kDeliverMessage = WM_APP + 0x40;  // worker -> owner thread, sent: run the pending reports
constexpr UINT kEndedMessage = WM_APP + 0x41;    // worker -> owner thread, posted: the walk is over
constexpr size_t kRunLength = 256;               // reports handed over at once
constexpr DWORD kRunMaxAge = 50;                 // ms a report may wait for its run to fill

struct ScanEvent {
    bool found;  // false: a directory was entered
    std::string name;
    std::string path;
    std::uint32_t attributes;
    std::uint32_t size;
    double dateTime;
};

int NativePriority(TThreadPriority priority) {
    switch (priority) {
        case TThreadPriority::tpIdle: return THREAD_PRIORITY_IDLE;
        case TThreadPriority::tpLowest: return THREAD_PRIORITY_LOWEST;
        case TThreadPriority::tpLower: return THREAD_PRIORITY_BELOW_NORMAL;
        case TThreadPriority::tpNormal: return THREAD_PRIORITY_NORMAL;
        case TThreadPriority::tpHigher: return THREAD_PRIORITY_ABOVE_NORMAL;
        case TThreadPriority::tpHighest: return THREAD_PRIORITY_HIGHEST;
        case TThreadPriority::tpTimeCritical: return THREAD_PRIORITY_TIME_CRITICAL;
    }
    return THREAD_PRIORITY_NORMAL;
}

unsigned DriveKind(UINT driveType) {
    switch (driveType) {
        case DRIVE_REMOVABLE: return sdFloppy;
        case DRIVE_FIXED: return sdHard;
        case DRIVE_REMOTE: return sdNetwork;
        case DRIVE_CDROM: return sdCDROM;
        case DRIVE_RAMDISK: return sdRAM;
        default: return 0;
    }
}

LRESULT CALLBACK SyncWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// One hidden message-only window per thread that starts scanners; the
// workers hand their reports to it.
HWND SyncWindow() {
    thread_local HWND window = nullptr;
    if (window) return window;
    static const ATOM windowClass = [] {
        WNDCLASSA c{};
        c.lpfnWndProc = SyncWindowProc;
        c.hInstance = ::GetModuleHandleA(nullptr);
        c.lpszClassName = "TarnwellScannerSync";
        return ::RegisterClassA(&c);
    }();
    (void)windowClass;
    window = ::CreateWindowExA(0, "TarnwellScannerSync", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               ::GetModuleHandleA(nullptr), nullptr);
    return window;
}

}  // namespace

class TScanThread {
public:
    TScanThread(TBaseScanner& owner, HWND sync)
        : onFileFound_(owner.OnFileFound),
          onProcess_(owner.OnProcess),
          recursive_(owner.Recursive),
          strategy_(owner.ScanStrategy),
          drives_(owner.ScanDrives),
          directory_(owner.Directory),
          attributeMask_(owner.Attributes),
          files_(owner.Files),
          owner_(&owner),
          sync_(sync) {}

    bool Start(const std::shared_ptr<TScanThread>& self, TThreadPriority priority) {
        self_ = self;
        DWORD id = 0;
        handle_.reset(::CreateThread(nullptr, 0, ThreadMain, this, CREATE_SUSPENDED, &id));
        if (!handle_) {
            self_.reset();
            return false;
        }
        ::SetThreadPriority(handle_.get(), NativePriority(priority));
        ::ResumeThread(handle_.get());
        return true;
    }

    void Terminate() { terminated_ = true; }
    HANDLE Handle() const { return handle_.get(); }
    void Detach() { owner_ = nullptr; }

    // Owner thread: run the reports the waiting worker has collected.
    void Deliver() {
        for (const ScanEvent& event : pending_) {
            if (terminated_) break;
            if (event.found) {
                if (!onFileFound_) continue;
                ++count_;
                size_ += event.size;
                onFileFound_(event.name, event.path, static_cast<std::int32_t>(event.attributes),
                             static_cast<std::int32_t>(event.size), event.dateTime);
            } else if (onProcess_) {
                onProcess_(count_, size_, event.path, 0, 0);
            }
        }
        pending_.clear();
    }

    // Owner thread: the end handler, once the worker has finished.
    void Ended() {
        ::WaitForSingleObject(handle_.get(), INFINITE);
        if (owner_) owner_->WorkerEnded(*this);
    }

    std::uint32_t Count() const { return count_; }
    std::uint32_t Size() const { return size_; }
    const std::string& ErrorText() const { return errorText_; }

private:
    static DWORD WINAPI ThreadMain(void* parameter) {
        auto* thread = static_cast<TScanThread*>(parameter);
        thread->Run();
        // The end is handled on the owner thread, which keeps the object
        // alive through the pointer it receives.
        auto* keep = new std::shared_ptr<TScanThread>(std::move(thread->self_));
        if (!::PostMessageA(thread->sync_, kEndedMessage, 0, reinterpret_cast<LPARAM>(keep))) delete keep;
        return 0;
    }

    void Run() {
        const MaskList masks = ParseMaskList(files_);
        if (!masks.error.empty()) {
            // An invalid mask ends the walk before it starts; nothing is shown.
            errorFlag_ = -1;
            errorText_ = masks.error;
        } else {
            masks_ = &masks;
            switch (strategy_) {
                case TScanStrategy::ssGlobal: WalkDrives(); break;
                case TScanStrategy::ssSpecifiedDisk: Walk(directory_.substr(0, 2)); break;
                case TScanStrategy::ssSpecifiedDir: Walk(directory_); break;
            }
            masks_ = nullptr;
        }
        Flush();
    }

    void WalkDrives() {
        const DWORD drives = ::GetLogicalDrives();
        for (int letter = 0; letter < 26; ++letter) {
            if (!(drives & (1u << letter))) continue;
            const std::string root = std::string(1, static_cast<char>('A' + letter)) + ":";
            if (drives_ & DriveKind(::GetDriveTypeA((root + "\\").c_str()))) Walk(root);
        }
    }

    void Walk(const std::string& directory) {
        if (errorFlag_ != 0) return;
        Queue(ScanEvent{false, {}, directory, 0, 0, 0});
        const std::string search = JoinPath(directory, "*.*");
        if (search.size() >= MAX_PATH) return;  // beyond what the walk supports
        WIN32_FIND_DATAA entry;
        FindHandle listing(::FindFirstFileA(search.c_str(), &entry));
        if (!listing) return;
        do {
            if (terminated_ || errorFlag_ != 0) break;
            const std::string_view name = entry.cFileName;
            if (name == "." || name == "..") continue;
            if ((entry.dwFileAttributes & attributeMask_) == attributeMask_ && masks_->Matches(name))
                Report(entry, directory);
            // Links to other folders (junctions, mount points, symbolic
            // links) are reported but never entered: a sweep must not reach
            // outside the tree it was pointed at.
            if (recursive_ && (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                Walk(JoinPath(directory, name));
        } while (::FindNextFileA(listing.get(), &entry));
    }

    void Report(const WIN32_FIND_DATAA& entry, const std::string& directory) {
        // A date outside what DOS time holds (before 1980, after 2107)
        // is reported as 0; the walk goes on.
        double dateTime = 0;
        if (onFileFound_)
            if (auto dos = LocalDosTime(entry.ftLastWriteTime)) dateTime = DosToDateTime(*dos);
        Queue(ScanEvent{true, entry.cFileName, directory, entry.dwFileAttributes, entry.nFileSizeLow, dateTime});
    }

    void Queue(ScanEvent event) {
        if (pending_.empty()) firstQueued_ = ::GetTickCount();
        pending_.push_back(std::move(event));
        if (pending_.size() >= kRunLength || ::GetTickCount() - firstQueued_ >= kRunMaxAge) Flush();
    }

    // Hands the pending reports to the owner thread and waits until its
    // handlers have run them.
    void Flush() {
        if (pending_.empty()) return;
        ::SendMessageA(sync_, kDeliverMessage, 0, reinterpret_cast<LPARAM>(this));
        pending_.clear();
    }

    // Copies taken at start.
    const TDoFileFound onFileFound_;
    const TDoProcess onProcess_;
    const bool recursive_;
    const TScanStrategy strategy_;
    const unsigned drives_;
    const std::string directory_;
    const unsigned attributeMask_;
    const std::string files_;

    const MaskList* masks_ = nullptr;
    std::atomic<bool> terminated_{false};
    int errorFlag_ = 0;
    std::string errorText_;
    std::vector<ScanEvent> pending_;
    DWORD firstQueued_ = 0;
    std::uint32_t count_ = 0, size_ = 0;  // owner thread only

    TBaseScanner* owner_;
    HWND sync_;
    KernelHandle handle_;
    std::shared_ptr<TScanThread> self_;  // while the worker runs
};

namespace {

LRESULT CALLBACK SyncWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kDeliverMessage) {
        reinterpret_cast<TScanThread*>(lParam)->Deliver();
        return 0;
    }
    if (message == kEndedMessage) {
        auto* keep = reinterpret_cast<std::shared_ptr<TScanThread>*>(lParam);
        (*keep)->Ended();
        delete keep;
        return 0;
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

TBaseScanner::~TBaseScanner() {
    destroying_ = true;
    if (!thread_) return;
    thread_->Terminate();
    // The worker may be waiting on this thread to take its reports: keep
    // serving sent messages until it is gone.
    HANDLE handle = thread_->Handle();
    while (::MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG message;
        ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    }
    thread_->Detach();
}

bool TBaseScanner::Execute() {
    if (thread_) return false;
    auto thread = std::make_shared<TScanThread>(*this, SyncWindow());
    thread_ = thread;
    if (thread->Start(thread, Priority)) return true;
    thread_.reset();
    return false;
}

void TBaseScanner::Stop() {
    if (thread_) thread_->Terminate();
}

void SetUpFolderWalk(TBaseScanner& scanner) {
    scanner.ScanStrategy = TScanStrategy::ssSpecifiedDir;
    scanner.ScanDrives = sdHard;
    scanner.Priority = TThreadPriority::tpNormal;
    scanner.Attributes = 0;
    scanner.Files = "*";
    scanner.Recursive = true;
}

void TBaseScanner::WorkerEnded(TScanThread& thread) {
    if (!destroying_ && OnProcessDone) OnProcessDone(*this, thread.Count(), thread.Size());
    // Cleared only now, so that Execute inside OnProcessDone does nothing.
    thread_.reset();
}

}  // namespace tarnwell
