#pragma once
// Reads what a program writes with OutputDebugString, the way a debugger
// does: the program is started under this process as its debugger.
#include <string>

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

}  // namespace tarnwell::testing
