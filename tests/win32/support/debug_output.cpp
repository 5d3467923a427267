#include "tests/win32/support/debug_output.h"

#include <vector>

namespace tarnwell::testing {

namespace {

std::string ReadDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
    const size_t unit = info.fUnicode ? 2 : 1;
    std::vector<char> bytes(static_cast<size_t>(info.nDebugStringLength) * unit + 2, 0);
    SIZE_T read = 0;
    if (!::ReadProcessMemory(process, info.lpDebugStringData, bytes.data(), bytes.size() - 2, &read)) return {};
    if (!info.fUnicode) return std::string(bytes.data());
    char narrow[4096] = {};
    ::WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(bytes.data()), -1, narrow, sizeof narrow - 1,
                          nullptr, nullptr);
    return narrow;
}

// Handles one debug event; true when it carried `wanted`.
bool HandleEvent(const DEBUG_EVENT& event, HANDLE process, const std::string& wanted, std::string& output) {
    DWORD status = DBG_CONTINUE;
    bool found = false;
    switch (event.dwDebugEventCode) {
        case OUTPUT_DEBUG_STRING_EVENT: {
            const std::string text = ReadDebugString(process, event.u.DebugString);
            output += text + "\n";
            found = text.find(wanted) != std::string::npos;
            break;
        }
        case EXCEPTION_DEBUG_EVENT:
            // The loader's breakpoint is ours; every other exception is the program's.
            if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT)
                status = DBG_EXCEPTION_NOT_HANDLED;
            break;
        case CREATE_PROCESS_DEBUG_EVENT:
            if (event.u.CreateProcessInfo.hFile) ::CloseHandle(event.u.CreateProcessInfo.hFile);
            break;
        case LOAD_DLL_DEBUG_EVENT:
            if (event.u.LoadDll.hFile) ::CloseHandle(event.u.LoadDll.hFile);
            break;
        default: break;
    }
    ::ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
    return found;
}

}  // namespace

DebuggedStart StartAndReadDebugOutput(const std::string& exe, const std::string& folder, const std::string& wanted,
                                      DWORD milliseconds) {
    DebuggedStart start;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string command = "\"" + exe + "\"";
    if (!::CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr,
                          folder.c_str(), &startup, &info))
        return start;
    ::CloseHandle(info.hThread);
    start.process.reset(info.hProcess);
    start.processId = info.dwProcessId;

    const DWORD began = ::GetTickCount();
    DEBUG_EVENT event;
    while (!start.found && ::GetTickCount() - began < milliseconds) {
        if (!::WaitForDebugEvent(&event, 100)) continue;
        if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) {
            ::ContinueDebugEvent(event.dwProcessId, event.dwThreadId, DBG_CONTINUE);
            return start;
        }
        start.found = HandleEvent(event, start.process.get(), wanted, start.output);
    }
    ::DebugSetProcessKillOnExit(FALSE);
    ::DebugActiveProcessStop(start.processId);
    return start;
}

}  // namespace tarnwell::testing
