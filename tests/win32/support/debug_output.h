#pragma once
// Reads what a program writes with OutputDebugString, the way a debugger
// does: the program is started under this process as its debugger.
#include <string>
#include <vector>

#include "base/handles.h"

namespace tarnwell::testing {

struct DebuggedStart {
    KernelHandle process;
    DWORD processId = 0;
    std::string output;  // every debug string received, one per line
    bool found = false;  // `wanted` appeared before the time ran out
};

// Starts `exe` in `folder` and collects its debug strings until one holds
// `wanted` or `milliseconds` pass; then detaches, leaving it running.
DebuggedStart StartAndReadDebugOutput(const std::string& exe, const std::string& folder, const std::string& wanted,
                                      DWORD milliseconds = 20000);

// Reads the debug strings of a running process from a thread of its own,
// as a debugger attached to it, until the object goes; the process runs on.
class DebugOutputWatch {
public:
    explicit DebugOutputWatch(DWORD processId);
    ~DebugOutputWatch();
    DebugOutputWatch(const DebugOutputWatch&) = delete;
    DebugOutputWatch& operator=(const DebugOutputWatch&) = delete;

    bool Attached() const { return attached_; }
    // Every string received so far, in order.
    std::vector<std::string> Lines() const;
    // How many of them hold `text`.
    int Count(const std::string& text) const;
    // Waits until `count` strings hold `text`, running this thread's
    // message loop meanwhile (its windows stay responsive).
    [[nodiscard]] bool WaitFor(const std::string& text, int count = 1, DWORD milliseconds = 20000) const;

private:
    static DWORD WINAPI Run(void* self);
    DWORD processId_;
    KernelHandle attachDone_;
    KernelHandle thread_;
    volatile LONG stop_ = 0;
    bool attached_ = false;
    mutable CRITICAL_SECTION lock_;
    std::vector<std::string> lines_;
};

}  // namespace tarnwell::testing
